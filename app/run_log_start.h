// Where the run's log goes and what it says first.
#pragma once
#include <string>

#include "app/msi_options.h"

// Opens the log: beside FILE of "/log FILE" (or "/l* FILE"), its name FILE's name without the
// extension, else in the temporary folder under the setup's name without ".exe"; either way
// followed by "_", the start time (YYYYMMDD_HHMMSS_mmm) and ".log", so runs never meet. Then
// writes the setup's path, size and version, the command line and the user interface level
// read from it. A log that cannot be written is let go.
void StartRunLog(const std::string &modulePath, const std::string &commandLine,
                 const MsiOptions &options);
