// The parts of the archive's life that only exist on Windows: the temporary folder of a
// normal run and the launch of the main package through the shell.
#include <windows.h>

#include "archive/sfx_archive.h"

#include "base/new_folder.h"
#include "base/text_builder.h"
#include "base/win/shell_start.h"
#include "base/win/wide_text.h"

SetupError SfxArchive::OpenInTempFolder() {
  SetModulePath(std::string());
  std::string folder;
  if (!win::TempFolder(&folder)) {
    return kPathUnavailable;
  }
  // Extracting straight into the shared folder would overwrite or run whatever already lies
  // there under an entry's name: another run's package, a user's file, a planted one.
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  const uint32_t seed = ::GetTickCount() ^ (::GetCurrentProcessId() << 16) ^ counter.LowPart;
  if (!sys::CreateNewFolder(folder, "tsr", seed, &extractFolder_)) {
    return kPathUnavailable;
  }
  ownFolder_ = extractFolder_;
  return Open();
}

int SfxArchive::LaunchPackage(const std::string &parameters, uint32_t *exitCode) {
  if (exitCode != nullptr) {
    *exitCode = 0;
  }
  const std::string path = text::Builder().Add({extractFolder_, packageBaseName_, ".msi"}).Take();
  if (!sys::PathFits(path)) {
    return kInstallerNotStarted;
  }
  // The shell's own error UI is suppressed: a failed start is reported once, by the setup.
  const win::ShellStartResult launched =
      win::StartAndWait(path, parameters, win::ShellErrorUi::Suppressed);
  if (launched.start != win::ShellStart::Started) {
    return kInstallerNotStarted;
  }
  if (exitCode != nullptr) {
    *exitCode = launched.exitCode;
  }
  return kSetupOk;
}
