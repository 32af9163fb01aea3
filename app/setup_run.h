// The state and the order of one setup run.
#pragma once
#include <windows.h>

#include <string>

#include "app/msi_options.h"
#include "archive/sfx_archive.h"

struct SetupRun {
  SfxArchive archive;
  std::string extractOnlyFolder;
  std::string runValueName;
  std::string title;
  std::string mainCommandLine;
  UiLevel uiLevel = UiLevel::Full;
  // False in an unattended run (the command line or the configuration's q option): what would
  // be a box goes to the log and the exit code.
  bool boxes = true;
  bool cancelled = false;
  // Set by the prerequisites: the exit code the run ends with before the package (0: go on).
  int stopCode = 0;
  // A prerequisite's restart is owed once the package has run.
  bool restartPending = false;
  // The restart value stays after the run: the next logon goes on with it.
  bool keepRestartValue = false;
};

// Runs the whole setup for the command line after the program's name; returns the exit code
// (app/exit_codes.h).
int RunSetupProgram(const std::string &commandLine);
