// Places a dialog in the middle of its owner (or of the work area when the owner is hidden,
// minimised or absent), kept inside the work area.
#pragma once
#include <windows.h>

void CentreOnOwner(HWND dialog);
