// What the installer runner takes from the system: starting one setup and waiting for it.
// Windows uses the shell; the host build starts nothing, so the passes that run setups are
// tested natively with a recording stand-in.
#pragma once
#include <cstdint>

#include "install/setup_launch.h"

class InstallPlatform {
public:
  // Starts the setup and returns when its process has ended, or at once when the start handed
  // back no process to wait for (its code then reads 0). *exitCode, when given, receives the
  // process's exit code.
  virtual SetupStart RunPrerequisiteSetup(const SetupLaunch &launch,
                                          uint32_t *exitCode = nullptr) = 0;

protected:
  // Never destroyed through this class: the platforms last as long as the process, and the
  // ones standing between are owned by their own type. A trivial destructor lets the platform
  // of a build be a constant.
  ~InstallPlatform() = default;
};

// The platform of this build: the shell on Windows; elsewhere nothing starts.
InstallPlatform &DefaultInstallPlatform();
