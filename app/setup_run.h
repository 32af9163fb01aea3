// The state and the order of one setup run.
#pragma once
#include <windows.h>

#include <string>

#include "archive/sfx_archive.h"

struct SetupRun {
  SfxArchive archive;
  std::string extractOnlyFolder;
  std::string runValueName;
  std::string title;
  std::string mainCommandLine;
  bool cancelled = false;
};

// Runs the whole setup for the command line after the program's name; returns the exit code
// (app/exit_codes.h).
int RunSetupProgram(const std::string &commandLine);
