// The order of one setup run.
#pragma once
#include <string>

// Runs the whole setup for the command line after the program's name; returns the exit code
// (app/exit_codes.h).
int RunSetupProgram(const std::string &commandLine);
