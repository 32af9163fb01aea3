// The Windows platform of the runner: the shell starts the setups; an interactive pass shows
// the launch window owned by the active window.
#include <windows.h>

#include "install/install_platform.h"
#include "install/run_setup.h"
#include "ui/launch_dialog.h"

namespace {

class WinInstallPlatform : public InstallPlatform {
public:
  bool RunSetup(const SetupLaunch &launch) override { return runSetup(launch); }
  void RunWithLaunchWindow(const std::vector<SetupLaunch> &launches,
                           std::vector<unsigned char> *started) override {
    RunLaunchDialog(launches, started, ::GetActiveWindow());
  }
};

} // namespace

InstallPlatform &DefaultInstallPlatform() {
  static WinInstallPlatform platform;
  return platform;
}
