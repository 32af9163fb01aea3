// The Windows platform of the runner: the shell starts the setups.
#include "install/install_platform.h"

#include "base/win/shell_start.h"

namespace {

class WinInstallPlatform : public InstallPlatform {
public:
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch, uint32_t *exitCode) override {
    // A setup the shell cannot start is reported in the shell's own box, unless nobody is
    // there to answer it; the runner adds none.
    const win::ShellStartResult result = win::StartAndWait(
        launch.path, launch.parameters,
        launch.noErrorUi ? win::ShellErrorUi::Suppressed : win::ShellErrorUi::Shown);
    if (exitCode != nullptr) {
      *exitCode = result.exitCode;
    }
    return result.start == win::ShellStart::Started ? SetupStart::Started : SetupStart::NotStarted;
  }
};

} // namespace

// Made at the first call and kept for the process's life: a static object would be the one
// initialised datum of the setup, and cost a file block of its own.
InstallPlatform &DefaultInstallPlatform() {
  static InstallPlatform *const platform = new WinInstallPlatform;
  return *platform;
}
