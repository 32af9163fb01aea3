#include "app/prerequisite_phase.h"

#include <windows.h>

#include "app/exit_codes.h"
#include "app/restart_registration.h"
#include "app/status_window.h"
#include "app/system_restart.h"
#include "archive/sfx_archive.h"
#include "base/file.h"
#include "base/run_log.h"
#include "plan/prereq_plan.h"
#include "prereq/prerequisite_list.h"
#include "ui/dialog_pass_windows.h"
#include "ui/setup_wizard.h"

namespace {

void LogDetection(const PrerequisiteList &list) {
  for (size_t i = 0; i < list.count(); ++i) {
    const Prerequisite &p = list.prerequisite(i);
    runlog::Line("Prerequisite $: search $ | % | decision: %",
                 {p.name, p.searchString, list.StatusText(i),
                  PrerequisiteList::ActionText(list.decision(i))});
  }
}

// What the results leave the run: a code to stop with, or a restart owed at the end. The
// restarts stop an interactive run too (the wizard has asked), and keep the value written at
// the start for the next logon (an unattended command line wrote none); failures stop only an
// unattended run (the user chose to go on with Finish).
void ApplyResults(const PrereqPlan &plan, bool unattended, PhaseResult *result) {
  if (plan.HasResult(PrereqResult::RestartStarted)) {
    result->stopCode = kExitRestartStarted;
    result->keepRestartValue = true;
  } else if (plan.HasResult(PrereqResult::RestartFirst)) {
    result->stopCode = kExitRestartRequired;
    result->keepRestartValue = true;
  } else if (unattended && plan.HasResult(PrereqResult::Busy)) {
    result->stopCode = kExitInstallerBusy;
  } else if (unattended && plan.HasResult(PrereqResult::Failed)) {
    result->stopCode = kExitInstallFailure;
  }
  result->restartPending = plan.HasResult(PrereqResult::RestartPending);
}

// Something is to be done: done silently, or by the user through the wizard.
void ActOnPrerequisites(SfxArchive &archive, PrerequisiteList &list, const PhaseSettings &settings,
                        PhaseResult *result) {
  const bool unattended = !result->boxes;
  const bool layout = !settings.layout.empty();
  // Written before anything is installed, so that a setup that restarts the machine brings
  // this run back at the next logon; never for an unattended command line, whose deployment
  // tool runs the setup again itself (and whose value, under the system account, would never
  // run, or would show the wizard to a user).
  if (settings.uiLevel == UiLevel::Full && !layout) {
    RegisterRestart(settings.runValueName);
  }
  PrereqPlan plan(archive, list);
  plan.setUnattended(unattended);
  plan.batch().setSource(settings.source);
  if (layout) {
    for (size_t i = 0; i < plan.count(); ++i) {
      const bool web = list.prerequisite(i).sourceKind == SourceKind::Url;
      plan.setAction(i, web ? PrereqAction::Download : PrereqAction::DontInstall);
    }
    // Files already there and whole stay; the others are fetched.
    plan.setDownloadFolder(settings.layout);
    DialogPassWindows windows;
    if (unattended) {
      plan.downloadAll();
    } else if (plan.downloadAll(windows) == DownloadRunResult::AllAttempted) {
      plan.ApplyDownloadResults();
    }
    for (size_t i = 0; i < plan.count(); ++i) {
      const PrereqAction action = plan.action(i);
      if (action == PrereqAction::Download || action == PrereqAction::DownloadFailed) {
        result->stopCode = kExitInstallFailure;
      }
    }
    return;
  }
  if (unattended) {
    // No windows: the silent batch applies its results to the plan, so installAll runs what
    // arrived.
    plan.downloadAll();
    plan.installAll();
    ApplyResults(plan, true, result);
    return;
  }
  SetupWizard wizard(plan, settings.wizardTitle);
  wizard.Run(::GetActiveWindow());
  ApplyResults(plan, false, result);
  if (result->stopCode != 0) {
    runlog::Line("Restart now: %", {wizard.restartNow() ? "yes" : "no"});
    if (wizard.restartNow() && !RestartWindows()) {
      runlog::Line("Restart refused");
    }
  } else if (wizard.cancelled()) {
    result->cancelled = true;
  }
}

} // namespace

PhaseResult RunPrerequisitePhase(SfxArchive &archive, const PhaseSettings &settings) {
  PhaseResult result;
  result.boxes = settings.boxes;
  if ((archive.flags() & kHasPrerequisites) == 0) {
    return result;
  }
  PrerequisiteList list(archive.configPath());
  {
    // Shown while the configuration is read and the searches run; no message loop runs.
    StatusWindow status;
    if (settings.uiLevel != UiLevel::None && status.Create()) {
      status.SetCaption(settings.title);
    }
    list.LoadConfiguration();
    // An offline copy takes every download, whatever is found here.
    if (settings.layout.empty()) {
      list.RunDetection();
    }
    list.DecideActions();
    // The configuration's text is ANSI; the command line goes to the package as path text.
    result.mainCommandLine = sys::PathFromAnsi(list.generalOptions().mainAppCmdLine);
  }
  LogDetection(list);
  // The configuration's q: no wizard and no box either.
  result.boxes = settings.boxes && !list.HasGeneralOption(kQuietOption);
  if (list.NeedsAction() || !settings.layout.empty()) {
    ActOnPrerequisites(archive, list, settings, &result);
  }
  return result;
}
