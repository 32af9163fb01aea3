#include "app/prerequisite_phase.h"

#include <windows.h>

#include "app/restart_registration.h"
#include "app/setup_run.h"
#include "app/status_window.h"
#include "plan/prereq_plan.h"
#include "prereq/prerequisite_list.h"
#include "ui/setup_wizard.h"

namespace {

// Something is to be done: done silently, or by the user through the wizard.
void ActOnPrerequisites(SetupRun &run, const PrerequisiteList &list) {
  // Written before anything is installed: a setup that restarts the machine brings this run
  // back at the next logon.
  RegisterRestart(run.runValueName);
  PrereqPlan plan(run.archive, list);
  if (list.HasGeneralOption(kQuietOption)) {
    // No windows: the silent batch applies its results to the plan, so installAll runs what
    // arrived.
    plan.downloadAll();
    plan.installAll();
    return;
  }
  SetupWizard wizard(plan);
  wizard.Run(::GetActiveWindow());
  if (wizard.cancelled()) {
    run.cancelled = true;
  }
}

} // namespace

void RunPrerequisitePhase(SetupRun &run) {
  PrerequisiteList list(run.archive.configPath());
  {
    // Shown while the configuration is read and the searches run; no message loop runs.
    StatusWindow status;
    if (status.Create()) {
      status.SetCaption(run.title);
    }
    list.LoadConfiguration();
    list.RunDetection();
    list.DecideActions();
    run.mainCommandLine = list.generalOptions().mainAppCmdLine;
  }
  if (list.NeedsAction()) {
    ActOnPrerequisites(run, list);
  }
}
