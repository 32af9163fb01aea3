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
  // The title of the status window.
  const std::string &title;
  // The wizard's title: the same, or the bare path when the setup's version block cannot be
  // read.
  const std::string &wizardTitle;
  // The name of the restart value the phase writes while it works.
  const std::string &runValueName;
  // Where downloads are looked for first (/source:): a folder or a web address; empty: nowhere.
  const std::string &source;
  // The folder of an offline copy (/layout:): every prerequisite that has a Url is fetched
  // into it, whatever this machine has, and nothing is installed; empty in a normal run.
  const std::string &layout;
};

// What the phase leaves the run.
struct PhaseResult {
  // The configuration's MainAppCmdLine, as path text; empty without prerequisites.
  std::string mainCommandLine;
  // False when the run is unattended, by its command line or by the configuration's q option.
  bool boxes = true;
  // The user left the wizard without finishing it.
  bool cancelled = false;
  // The exit code the run ends with before the package; 0: go on. For an offline copy: 0
  // when every download is there, else 1603.
  int stopCode = 0;
  // A prerequisite's restart is owed once the package has run.
  bool restartPending = false;
  // The restart value stays after the run: the next logon goes on with it.
  bool keepRestartValue = false;
};

// Runs the phase when the archive has prerequisites; a setup without any goes on as it came.
PhaseResult RunPrerequisitePhase(SfxArchive &archive, const PhaseSettings &settings);
