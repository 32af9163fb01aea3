#include "app/setup_run.h"

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/prerequisite_phase.h"
#include "app/restart_registration.h"
#include "app/run_log_start.h"
#include "app/setup_error.h"
#include "app/status_window.h"
#include "base/run_log.h"
#include "base/win/module_state.h"
#include "resources/resource.h"
#include "ui/setup_name.h"

namespace {

// Extract-only mode: every entry into the folder, nothing shown, nothing reported; the exit
// code alone says whether every entry was written.
int ExtractOnly(SetupRun &run) {
  run.archive.SetModulePath(std::string());
  run.archive.setExtractFolder(run.extractOnlyFolder);
  run.archive.setKeepFiles(true);
  // After an Open that failed part-way nothing more is done.
  if (run.archive.Open() != kSetupOk || run.archive.ExtractAll() != kSetupOk) {
    return kExitInstallFailure;
  }
  return kExitSuccess;
}

// The error's box when someone is there to answer it; the log has it either way.
void ReportError(const SetupRun &run, unsigned messageId) {
  runlog::Line("Error: $", {win::LoadResourceString(messageId).c_str()});
  if (run.boxes) {
    ShowErrorBox(messageId);
  }
}

// The package's own exit code, or kExitInstallerNotStarted.
int ExtractAndLaunch(SetupRun &run) {
  const bool external = (run.archive.flags() & kExternalFiles) != 0;
  SetupError extracted = kSetupOk;
  {
    StatusWindow status;
    if (!external && run.uiLevel != UiLevel::None && status.Create()) {
      status.SetCaption(run.title);
      status.SetText(win::LoadResourceString(IDS_EXTRACTING));
    }
    extracted = run.archive.ExtractPackageFiles();
  }
  // A package missing a file, or cut short, is never handed to Windows Installer.
  if (extracted != kSetupOk) {
    ReportError(run, IDS_EXTRACT_ERROR);
    return kExitInstallFailure;
  }
  // Removed before the package can restart the machine: the prerequisites are done.
  UnregisterRestart(run.runValueName);
  runlog::Line("Package command line: %", {run.mainCommandLine.c_str()});
  uint32_t packageExitCode = 0;
  const int launched = run.archive.LaunchPackage(run.mainCommandLine, &packageExitCode);
  if (launched != kSetupOk) {
    // Reporting a package that never started as success would leave the user guessing.
    ReportError(run, MessageIdForSetupError(launched));
    return kExitInstallerNotStarted;
  }
  runlog::Line("Package exit code %", {runlog::Num(packageExitCode).text});
  return static_cast<int>(packageExitCode);
}

} // namespace

int RunSetupProgram(const std::string &commandLine) {
  SetupRun run;
  run.extractOnlyFolder = ParseExtractOption(commandLine);
  if (!run.extractOnlyFolder.empty()) {
    return ExtractOnly(run);
  }
  const MsiOptions options = ParseMsiOptions(commandLine);
  run.uiLevel = options.uiLevel;
  run.boxes = run.uiLevel == UiLevel::Full;

  const SetupError opened = run.archive.OpenInTempFolder();
  StartRunLog(run.archive.modulePath(), commandLine, options);
  int exitCode = kExitInstallFailure;
  if (opened != kSetupOk) {
    ReportError(run, MessageIdForSetupError(opened));
  } else {
    run.runValueName = run.archive.modulePath();
    ProductNameOrPath(run.archive.modulePath(), &run.title);
    run.title.append(" Setup");

    if ((run.archive.flags() & kHasPrerequisites) != 0) {
      RunPrerequisitePhase(run);
    }
    // The setup's own command line replaces the configuration's entirely.
    if (!commandLine.empty()) {
      run.mainCommandLine = commandLine;
    }
    if (run.stopCode != 0) {
      runlog::Line("Package not started");
      exitCode = run.stopCode;
    } else if (run.cancelled) {
      runlog::Line("Cancelled");
      exitCode = kExitUserCancelled;
    } else {
      exitCode = ExtractAndLaunch(run);
      if (exitCode == kExitSuccess && run.restartPending) {
        runlog::Line("Restart pending");
        exitCode = kExitRestartRequired;
      }
    }
    // Every normal run ends unregistered, cancelled or not, unless it stops for a restart.
    if (!run.keepRestartValue) {
      UnregisterRestart(run.runValueName);
    }
  }
  runlog::Line("Exit code %", {runlog::Num(static_cast<uint32_t>(exitCode)).text});
  // Destroying the archive deletes every file it extracted.
  return exitCode;
}
