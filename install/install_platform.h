// What the installer runner takes from the system: starting one setup, and the launch window
// that runs the setups of an interactive pass. Windows uses the shell and the "Launching
// PreRequisites" dialog; the host build starts nothing, so the list building and the outcome
// of a pass are tested natively with a recording stand-in.
#pragma once
#include <vector>

#include "install/setup_launch.h"

class InstallPlatform {
public:
  virtual ~InstallPlatform() = default;
  // Starts the setup and returns when its process has ended; false when none was started.
  virtual bool RunSetup(const SetupLaunch &launch) = 0;
  // Runs every setup in order under the modal launch window, owned by the active window;
  // (*started)[i] is set to 1 when setup i's process was started. Returns after the last one.
  virtual void RunWithLaunchWindow(const std::vector<SetupLaunch> &launches,
                                   std::vector<unsigned char> *started) = 0;
};

// The platform of this build: the shell and the dialog on Windows; elsewhere nothing starts.
InstallPlatform &DefaultInstallPlatform();
