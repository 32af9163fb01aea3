// The prerequisite phase of a normal run: reads the configuration the archive carries,
// detects, decides and installs what the package needs before it is launched.
#pragma once

struct SetupRun;

// Runs when the archive has prerequisites. May set mainCommandLine and cancelled.
void RunPrerequisitePhase(SetupRun &run);
