// The POSIX build starts no programs: every setup counts as not started.
#include "install/install_platform.h"

namespace {

class PosixInstallPlatform : public InstallPlatform {
public:
  bool RunSetup(const SetupLaunch &) override { return false; }
  void RunWithLaunchWindow(const std::vector<SetupLaunch> &launches,
                           std::vector<unsigned char> *started) override {
    started->assign(launches.size(), 0);
  }
};

} // namespace

InstallPlatform &DefaultInstallPlatform() {
  static PosixInstallPlatform platform;
  return platform;
}
