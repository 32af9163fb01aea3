// What a prerequisite's setup did, read from its exit code and from its search run again
// afterwards.
#pragma once
#include <cstdint>
#include <string>

// The exit code alone.
enum class SetupOutcome {
  Success,        // SuccessCodes (default 0, 1638, 1707)
  Restart,        // RestartCodes (default 3010): done once the machine restarts
  RestartStarted, // 1641: the setup has started a restart
  Busy,           // 1618: another installation is in progress
  Failed,         // anything else, or a setup that could not be started
};

// What a prerequisite's setup left, once its search has run again (the install pass's log
// names them in this order).
enum class PrereqResult {
  NotRun,
  Installed,      // success or restart code, and found in range
  RestartPending, // a restart code and found: the run goes on, a restart is owed at the end
  RestartFirst,   // a restart code and not found: the machine restarts before the run goes on
  RestartStarted, // 1641
  Busy,           // 1618
  Failed,         // a failure code, not started, or success but still not found
};

// successCodes and restartCodes are the prerequisite's lists as written; an empty or
// malformed list counts as not given.
SetupOutcome ClassifyExitCode(uint32_t code, const std::string &successCodes,
                              const std::string &restartCodes);

// The result once the search has run again.
PrereqResult ResultOf(SetupOutcome outcome, bool foundAfterwards);

// Whether a result ends an unattended run before anything else is started.
bool StopsUnattendedRun(PrereqResult result);
