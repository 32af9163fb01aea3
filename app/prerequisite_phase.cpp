#include "app/prerequisite_phase.h"

#include <windows.h>

#include "app/exit_codes.h"
#include "app/restart_registration.h"
#include "app/setup_run.h"
#include "app/status_window.h"
#include "app/system_restart.h"
#include "base/file.h"
#include "base/run_log.h"
#include "plan/prereq_plan.h"
#include "prereq/prerequisite_list.h"
#include "ui/setup_wizard.h"

namespace {

void LogDetection(const PrerequisiteList &list) {
  for (size_t i = 0; i < list.count(); ++i) {
    const Prerequisite &p = list.prerequisite(i);
    runlog::Line("Prerequisite $: search $ | $ | decision: %",
                 {p.name.c_str(), p.searchString.c_str(), list.StatusText(i).c_str(),
                  PrerequisiteList::ActionText(list.decision(i))});
  }
}

// What the results leave the run: a code to stop with, or a restart owed at the end.
void ApplyResults(SetupRun &run, const PrereqPlan &plan, bool unattended) {
  // The first that applies wins; the restarts stop an interactive run too (the wizard has
  // asked), failures only an unattended one (the user chose to go on with Finish).
  static const struct {
    PrereqResult result;
    int code;
  } kStops[] = {{PrereqResult::RestartStarted, kExitRestartStarted},
                {PrereqResult::RestartFirst, kExitRestartRequired},
                {PrereqResult::Busy, kExitInstallerBusy},
                {PrereqResult::Failed, kExitInstallFailure}};
  for (size_t i = 0; i < 4 && run.stopCode == 0; ++i) {
    if ((i < 2 || unattended) && plan.HasResult(kStops[i].result)) {
      run.stopCode = kStops[i].code;
      // The value written at the start stays for the next logon; an unattended command line
      // wrote none.
      run.keepRestartValue = i < 2;
    }
  }
  run.restartPending = plan.HasResult(PrereqResult::RestartPending);
}

// Something is to be done: done silently, or by the user through the wizard.
void ActOnPrerequisites(SetupRun &run, PrerequisiteList &list) {
  const bool unattended = !run.boxes;
  // Written before anything is installed, so that a setup that restarts the machine brings
  // this run back at the next logon; never for an unattended command line, whose deployment
  // tool runs the setup again itself (and whose value, under the system account, would never
  // run, or would show the wizard to a user).
  if (run.uiLevel == UiLevel::Full) {
    RegisterRestart(run.runValueName);
  }
  PrereqPlan plan(run.archive, list);
  plan.setUnattended(unattended);
  if (unattended) {
    // No windows: the silent batch applies its results to the plan, so installAll runs what
    // arrived.
    plan.downloadAll();
    plan.installAll();
    ApplyResults(run, plan, true);
    return;
  }
  SetupWizard wizard(plan);
  wizard.Run(::GetActiveWindow());
  ApplyResults(run, plan, false);
  if (run.stopCode != 0) {
    runlog::Line("Restart now: %", {wizard.restartNow() ? "yes" : "no"});
    if (wizard.restartNow() && !RestartWindows()) {
      runlog::Line("Restart refused");
    }
  } else if (wizard.cancelled()) {
    run.cancelled = true;
  }
}

} // namespace

void RunPrerequisitePhase(SetupRun &run) {
  PrerequisiteList list(run.archive.configPath());
  {
    // Shown while the configuration is read and the searches run; no message loop runs.
    StatusWindow status;
    if (run.uiLevel != UiLevel::None && status.Create()) {
      status.SetCaption(run.title);
    }
    list.LoadConfiguration();
    list.RunDetection();
    list.DecideActions();
    // The configuration's text is ANSI; the command line goes to the package as path text.
    run.mainCommandLine = sys::PathFromAnsi(list.generalOptions().mainAppCmdLine);
  }
  LogDetection(list);
  // The configuration's q: no wizard and no box either.
  run.boxes = run.boxes && !list.HasGeneralOption(kQuietOption);
  if (list.NeedsAction()) {
    ActOnPrerequisites(run, list);
  }
}
