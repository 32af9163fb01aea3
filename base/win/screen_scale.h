// Lengths given in pixels at 96 dots per inch (100 %), turned into pixels of the screen the
// setup's windows are on: the setup is DPI-aware, so the system no longer stretches them and
// whatever is not laid out in dialog units must be scaled here.
#pragma once
#include <windows.h>

// pixelsAt96 at the resolution of window's screen.
int ScaleToScreen(HWND window, int pixelsAt96);
