// The POSIX build starts no programs: every setup counts as not started.
#include "install/install_platform.h"

namespace {

class PosixInstallPlatform : public InstallPlatform {
public:
  SetupStart RunPrerequisiteSetup(const SetupLaunch &, uint32_t *) override {
    return SetupStart::NotStarted;
  }
};

} // namespace

InstallPlatform &DefaultInstallPlatform() {
  static PosixInstallPlatform platform;
  return platform;
}
