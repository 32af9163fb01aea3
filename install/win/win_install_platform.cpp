// The Windows platform of the runner: the shell starts the setups.
#include "install/install_platform.h"

#include "base/win/shell_start.h"

namespace {

class WinInstallPlatform : public InstallPlatform {
public:
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch) override {
    // A setup the shell cannot start is reported in the shell's own box; the runner adds none.
    return win::StartAndWait(launch.path, launch.parameters, win::ShellErrorUi::Shown).start ==
                   win::ShellStart::Started
               ? SetupStart::Started
               : SetupStart::NotStarted;
  }
};

} // namespace

// Made at the first call and kept for the process's life: a static object would be the one
// initialised datum of the setup, and cost a file block of its own.
InstallPlatform &DefaultInstallPlatform() {
  static InstallPlatform *const platform = new WinInstallPlatform;
  return *platform;
}
