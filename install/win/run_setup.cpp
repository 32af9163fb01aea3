#include "install/run_setup.h"

#include <windows.h>

#include <shellapi.h>

#include "base/win/handle.h"

bool runSetup(const SetupLaunch &launch) {
  static_assert(sizeof(void *) != 4 || sizeof(SHELLEXECUTEINFOA) == 60,
                "the 32-bit structure the shell expects");
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = "open";
  info.lpFile = launch.path.c_str();
  // Empty parameters are passed as none at all, not as an empty string.
  info.lpParameters = launch.parameters.empty() ? nullptr : launch.parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  // No window and no directory: the setup inherits the current directory.
  if (!::ShellExecuteExA(&info)) {
    return false;
  }
  // A handler may start the setup without handing back a process (a running program took
  // it): started, but there is nothing to wait for.
  win::Handle process(info.hProcess);
  if (process.IsValid()) {
    ::WaitForSingleObject(process.Get(), INFINITE);
  }
  return true;
}
