#include "app/system_restart.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "base/win/shell_start.h"

bool RestartWindows() {
  static const char kProgram[] = "\\shutdown.exe";
  char path[MAX_PATH + sizeof kProgram];
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  std::memcpy(path + length, kProgram, sizeof kProgram);
  // By full path from the system folder. The program takes the shutdown privilege itself;
  // p:4:2 is a planned restart for an application's installation.
  return win::StartAndWait(path, "/r /t 0 /d p:4:2", win::ShellErrorUi::Suppressed).start ==
         win::ShellStart::Started;
}
