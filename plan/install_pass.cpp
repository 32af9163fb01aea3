// The install pass of the plan: the setups of the scheduled prerequisites, one after another,
// each judged by its exit code and by its search run again.
#include "base/run_log.h"
#include "plan/pass_windows.h"
#include "plan/prereq_plan.h"
#include "plan/setup_launches.h"

// Stands between whoever runs the setups (this thread or the launch window's worker) and the
// platform, so that every setup is judged before the next one may start.
class OutcomeRecorder : public InstallPlatform {
public:
  explicit OutcomeRecorder(PrereqPlan &plan) : plan_(plan) {}
  // The code is kept in the plan; the callers (the passes) ask for none.
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch, uint32_t *) override {
    return plan_.RunAndRecord(plan_.installer_, launch);
  }

private:
  PrereqPlan &plan_;
};

namespace {

// A result as the log names it.
const char *ResultWord(PrereqResult result) {
  switch (result) {
  case PrereqResult::NotRun:
    return "";
  case PrereqResult::Installed:
    return "installed";
  case PrereqResult::RestartPending:
    return "restart pending";
  case PrereqResult::RestartFirst:
    return "restart needed first";
  case PrereqResult::RestartStarted:
    return "restart started";
  case PrereqResult::Busy:
    return "busy (1618)";
  case PrereqResult::Failed:
    break;
  }
  return "failed";
}

} // namespace

void PrereqPlan::installAll() { RunInstallPass(nullptr); }

void PrereqPlan::installAll(PassWindows &windows) { RunInstallPass(&windows); }

void PrereqPlan::RunInstallPass(PassWindows *windows) {
  stopped_ = false;
  for (Outcome &outcome : outcomes_) {
    outcome.started = false;
    // A download that failed already stops an unattended run.
    stopped_ = stopped_ || (unattended_ && StopsUnattendedRun(outcome.result));
  }
  if (stopped_) {
    runlog::Line("Download failed");
    return;
  }
  base::ObjectVector<SetupLaunch> launches =
      BuildSetupLaunches(archive_, list_, actions_, batch_.folder(), &badExtractions_);
  for (SetupLaunch &launch : launches) {
    launch.noErrorUi = unattended_;
  }
  // The recorder notes every start in outcomes_; what the window reports is the same.
  OutcomeRecorder recorder(*this);
  if (windows == nullptr) {
    for (const SetupLaunch &launch : launches) {
      recorder.RunPrerequisiteSetup(launch, nullptr);
    }
  } else {
    windows->RunLaunches(launches, recorder);
  }
}

SetupStart PrereqPlan::RunAndRecord(InstallPlatform &installer, const SetupLaunch &launch) {
  const size_t index = launch.prereqIndex;
  const Prerequisite &p = list_.prerequisite(index);
  if (stopped_) {
    runlog::Line("Not started: $", {p.name});
    return SetupStart::NotStarted;
  }
  runlog::Line("Starting $: % [%]", {p.name, launch.path, launch.parameters});
  const uint32_t began = runlog::Ticks();
  uint32_t code = 0;
  const SetupStart start = installer.RunPrerequisiteSetup(launch, &code);
  PrereqResult result = PrereqResult::Failed;
  if (start != SetupStart::Started) {
    runlog::Line("$: not started", {p.name});
  } else {
    const SetupOutcome outcome = ClassifyExitCode(code, p.successCodes, p.restartCodes);
    bool found = false;
    if (outcome == SetupOutcome::Success || outcome == SetupOutcome::Restart) {
      found = list_.Redetect(index, searchHost_);
    }
    result = ResultOf(outcome, found);
    runlog::Line("$: exit code % after % ms | search again: % | result: %",
                 {p.name, code, runlog::Ticks() - began, list_.StatusText(index),
                  outcome == SetupOutcome::Success && !found
                      ? "reported success but is still not found"
                      : ResultWord(result)});
  }
  Outcome &outcome = outcomes_[index];
  outcome.started = start == SetupStart::Started;
  outcome.result = result;
  outcome.exitCode = code;
  stopped_ = unattended_
                 ? StopsUnattendedRun(result)
                 : result == PrereqResult::RestartFirst || result == PrereqResult::RestartStarted;
  return start;
}
