// The instance whose resources (dialogs, strings) every window of the program loads.
#pragma once
#include <windows.h>

#include <string>

namespace win {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

// A string resource of any length as path text (UTF-8, base/file.h); empty when the id has
// none.
std::string LoadResourceString(UINT id);

} // namespace win
