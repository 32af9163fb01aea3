// The prerequisite phase of a normal run: reads the configuration the archive carries,
// detects, decides and installs what the package needs before it is launched.
#pragma once
#include <string>

#include "app/msi_options.h"

class SfxArchive;

// What the run brings to the phase.
struct PhaseSettings {
  UiLevel uiLevel;
  // False in a run made unattended by its command line.
  bool boxes;
  // The title of the status window and the wizard.
  const std::string &title;
  // The name of the restart value the phase writes while it works.
  const std::string &runValueName;
};

// What the phase leaves the run.
struct PhaseResult {
  // The configuration's MainAppCmdLine, as path text; empty without prerequisites.
  std::string mainCommandLine;
  // False when the run is unattended, by its command line or by the configuration's q option.
  bool boxes = true;
  // The user left the wizard without finishing it.
  bool cancelled = false;
  // The exit code the run ends with before the package; 0: go on.
  int stopCode = 0;
  // A prerequisite's restart is owed once the package has run.
  bool restartPending = false;
  // The restart value stays after the run: the next logon goes on with it.
  bool keepRestartValue = false;
};

// Runs the phase when the archive has prerequisites; a setup without any goes on as it came.
PhaseResult RunPrerequisitePhase(SfxArchive &archive, const PhaseSettings &settings);
