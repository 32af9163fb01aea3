// The setup's entry point.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/setup_run.h"
#include "base/win/module.h"
#include "base/win/module_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // Before anything can load a DLL: a setup usually runs from a Downloads folder full of
  // files, any of which could be a planted DLL.
  win::HardenDllSearch();
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // The information page's "RICHEDIT" class; loaded by full path from the system folder.
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  win::SetModuleInstance(instance);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  // Read as UTF-16 and converted (app/program_start.cpp): a path in it (/extract:, a log file,
  // the package's own options) reaches its file whatever the ANSI code page.
  const int exitCode = RunSetupProgram(commandLine);

  richEdit.Free();
  ::CoUninitialize();
  return exitCode;
}
