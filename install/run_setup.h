// Starts one prerequisite's setup through the shell's "open" verb and waits for it.
#pragma once
#include "install/setup_launch.h"

// Returns when the started process has ended, or at once when none came back. True when the
// shell started the setup, false when it could not (no such file, no handler); the exit code
// is not read (setups differ in what their codes mean).
bool runSetup(const SetupLaunch &launch);
