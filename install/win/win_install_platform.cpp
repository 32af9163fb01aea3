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

// A constant: it has no state, so it lies in read-only data, needing neither initialised data
// (a file block of its own) nor an initialisation at the first call.
const WinInstallPlatform kPlatform{};

} // namespace

InstallPlatform &DefaultInstallPlatform() {
  // Nothing of it is ever written: it has no data.
  return const_cast<WinInstallPlatform &>(kPlatform);
}
