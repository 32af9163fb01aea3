#include "plan/setup_outcome.h"

#include "prereq/exit_code_list.h"

namespace {

// The list's answer, or whether the default holds code when the list is not usable.
bool InList(const std::string &list, uint32_t code, bool inDefault) {
  const int has = ExitCodeListHas(list, code);
  return has < 0 ? inDefault : has == 1;
}

} // namespace

SetupOutcome ClassifyExitCode(uint32_t code, const std::string &successCodes,
                              const std::string &restartCodes) {
  // Fixed meanings first: no list can turn a restart under way or a busy installer into success.
  if (code == 1641) {
    return SetupOutcome::RestartStarted;
  }
  if (code == 1618) {
    return SetupOutcome::Busy;
  }
  if (InList(successCodes, code, code == 0 || code == 1638 || code == 1707)) {
    return SetupOutcome::Success;
  }
  if (InList(restartCodes, code, code == 3010)) {
    return SetupOutcome::Restart;
  }
  return SetupOutcome::Failed;
}

PrereqResult ResultOf(SetupOutcome outcome, bool foundAfterwards) {
  switch (outcome) {
  case SetupOutcome::Success:
    return foundAfterwards ? PrereqResult::Installed : PrereqResult::Failed;
  case SetupOutcome::Restart:
    return foundAfterwards ? PrereqResult::RestartPending : PrereqResult::RestartFirst;
  case SetupOutcome::RestartStarted:
    return PrereqResult::RestartStarted;
  case SetupOutcome::Busy:
    return PrereqResult::Busy;
  case SetupOutcome::Failed:
    break;
  }
  return PrereqResult::Failed;
}

bool StopsUnattendedRun(PrereqResult result) {
  return result == PrereqResult::Failed || result == PrereqResult::Busy ||
         result == PrereqResult::RestartFirst || result == PrereqResult::RestartStarted;
}
