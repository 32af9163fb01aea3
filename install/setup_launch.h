// One prerequisite's setup as the installer runner starts it: which file, with what parameters,
// and the name the launch window shows for it.
#pragma once
#include <cstddef>
#include <string>

struct SetupLaunch {
  std::string path;       // full path of the setup file (path text, base/file.h)
  std::string parameters; // the prerequisite's CommandLine as path text; empty passes none
  std::string name;       // the prerequisite's name (ANSI), shown while it runs
  size_t prereqIndex = 0; // the prerequisite it installs, for the outcome of the pass
  bool noErrorUi = false; // unattended: the shell shows no box when it cannot start the file
};

// Whether a setup's process was started; its exit code is read apart (setups differ in what
// their codes mean, so the prerequisite's lists decide).
enum class SetupStart { Started, NotStarted };
