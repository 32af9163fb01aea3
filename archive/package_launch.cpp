// The parts of the archive's life that only exist on Windows: the temporary folder of a
// normal run and the launch of the main package through the shell.
#include <windows.h>

#include <shellapi.h>

#include "archive/sfx_archive.h"
#include "base/text.h"
#include "base/win/handle.h"

SetupError SfxArchive::OpenInTempFolder() {
  SetModulePath(std::string());
  char buffer[MAX_PATH];
  const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
  // A path that does not fit the buffer is as unusable as none at all.
  if (length == 0 || length >= MAX_PATH) {
    return kPathUnavailable;
  }
  std::string folder(buffer, length);
  text::EnsureTrailingBackslash(&folder);
  extractFolder_ = folder;
  return Open();
}

int SfxArchive::LaunchPackage(const std::string &parameters, uint32_t *exitCode) {
  if (exitCode != nullptr) {
    *exitCode = 0;
  }
  const std::string path = extractFolder_ + packageBaseName_ + ".msi";
  if (path.size() >= MAX_PATH) {
    return kInstallerNotStarted;
  }
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  // The shell's own error UI is suppressed: a failed start is reported once, by the setup.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "open";
  info.lpFile = path.c_str();
  // Empty parameters are passed as none at all, not as an empty string.
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExA(&info)) {
    return kInstallerNotStarted;
  }
  win::Handle process(info.hProcess);
  if (process.IsValid()) {
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    if (exitCode != nullptr && ::GetExitCodeProcess(process.Get(), &code)) {
      *exitCode = code;
    }
  }
  return kSetupOk;
}
