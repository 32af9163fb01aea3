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
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch, uint32_t *exitCode) override {
    const SetupStart start = plan_.RunAndRecord(plan_.installer_, launch);
    if (exitCode != nullptr) {
      *exitCode = plan_.records_[launch.prereqIndex].exitCode;
    }
    return start;
  }

private:
  PrereqPlan &plan_;
};

namespace {

const char *ResultText(PrereqResult result) {
  switch (result) {
  case PrereqResult::Installed:
    return "installed";
  case PrereqResult::RestartPending:
    return "installed, restart pending";
  case PrereqResult::RestartFirst:
    return "restart needed first";
  case PrereqResult::RestartStarted:
    return "restart started";
  case PrereqResult::Busy:
    return "busy: another installation runs";
  case PrereqResult::NotRun:
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
  for (SetupRecord &record : records_) {
    record.started = false;
    // A download that failed already stops an unattended run.
    stopped_ = stopped_ || (unattended_ && StopsUnattendedRun(record.result));
  }
  if (stopped_) {
    runlog::Line("A download failed: nothing is started");
    return;
  }
  std::vector<SetupLaunch> launches =
      BuildSetupLaunches(archive_, list_, actions_, batch_.folder(), &badExtractions_);
  for (SetupLaunch &launch : launches) {
    launch.noErrorUi = unattended_;
  }
  std::vector<SetupStart> started(launches.size(), SetupStart::NotStarted);
  OutcomeRecorder recorder(*this);
  if (windows == nullptr) {
    for (size_t i = 0; i < launches.size(); ++i) {
      started[i] = recorder.RunPrerequisiteSetup(launches[i], nullptr);
    }
  } else {
    windows->RunLaunches(launches, recorder, &started);
  }
  for (size_t i = 0; i < launches.size(); ++i) {
    if (started[i] == SetupStart::Started) {
      records_[launches[i].prereqIndex].started = true;
    }
  }
}

SetupStart PrereqPlan::RunAndRecord(InstallPlatform &installer, const SetupLaunch &launch) {
  const size_t index = launch.prereqIndex;
  const Prerequisite &p = list_.prerequisite(index);
  if (stopped_) {
    runlog::Line("Not started: %", {p.name.c_str()});
    return SetupStart::NotStarted;
  }
  runlog::Line("Starting %: % [%]",
               {p.name.c_str(), launch.path.c_str(), launch.parameters.c_str()});
  const uint32_t began = runlog::Ticks();
  uint32_t code = 0;
  const SetupStart start = installer.RunPrerequisiteSetup(launch, &code);
  PrereqResult result = PrereqResult::Failed;
  if (start != SetupStart::Started) {
    runlog::Line("%: not started", {p.name.c_str()});
  } else {
    const SetupOutcome outcome = ClassifyExitCode(code, p.successCodes, p.restartCodes);
    bool found = false;
    if (outcome == SetupOutcome::Success || outcome == SetupOutcome::Restart) {
      found = list_.Redetect(index, searchHost_);
    }
    result = ResultOf(outcome, found);
    runlog::Line("%: exit code % after % ms | search again: % | result: %",
                 {p.name.c_str(), runlog::Num(code).text, runlog::Num(runlog::Ticks() - began).text,
                  list_.StatusText(index).c_str(),
                  outcome == SetupOutcome::Success && !found
                      ? "reported success but is still not found"
                      : ResultText(result)});
  }
  records_[index].result = result;
  records_[index].exitCode = code;
  stopped_ = unattended_
                 ? StopsUnattendedRun(result)
                 : result == PrereqResult::RestartFirst || result == PrereqResult::RestartStarted;
  return start;
}
