#include "app/setup_run.h"

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/prerequisite_phase.h"
#include "app/restart_registration.h"
#include "app/setup_error.h"
#include "app/status_window.h"
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

// The package's own exit code, or kExitInstallerNotStarted.
int ExtractAndLaunch(SetupRun &run) {
  const bool external = (run.archive.flags() & kExternalFiles) != 0;
  SetupError extracted = kSetupOk;
  {
    StatusWindow status;
    if (!external && status.Create()) {
      status.SetCaption(run.title);
      status.SetText(win::LoadResourceString(IDS_EXTRACTING));
    }
    extracted = run.archive.ExtractPackageFiles();
  }
  // A package missing a file, or cut short, is never handed to Windows Installer.
  if (extracted != kSetupOk) {
    ReportExtractionError();
    return kExitInstallFailure;
  }
  // Removed before the package can restart the machine: the prerequisites are done.
  UnregisterRestart(run.runValueName);
  uint32_t packageExitCode = 0;
  const int launched = run.archive.LaunchPackage(run.mainCommandLine, &packageExitCode);
  if (launched != kSetupOk) {
    // Reporting a package that never started as success would leave the user guessing.
    ReportSetupError(launched);
    return kExitInstallerNotStarted;
  }
  return static_cast<int>(packageExitCode);
}

} // namespace

int RunSetupProgram(const std::string &commandLine) {
  SetupRun run;
  run.extractOnlyFolder = ParseExtractOption(commandLine);
  if (!run.extractOnlyFolder.empty()) {
    return ExtractOnly(run);
  }

  const SetupError opened = run.archive.OpenInTempFolder();
  if (opened != kSetupOk) {
    ReportSetupError(opened);
    return kExitInstallFailure;
  }
  run.runValueName = run.archive.modulePath();
  ProductNameOrPath(run.archive.modulePath(), &run.title);
  run.title += " Setup";

  if ((run.archive.flags() & kHasPrerequisites) != 0) {
    RunPrerequisitePhase(run);
  }
  // The setup's own command line replaces the configuration's entirely.
  if (!commandLine.empty()) {
    run.mainCommandLine = commandLine;
  }
  int exitCode = kExitUserCancelled;
  if (!run.cancelled) {
    exitCode = ExtractAndLaunch(run);
  }
  // Every normal run ends unregistered, cancelled or not.
  UnregisterRestart(run.runValueName);
  // Destroying the archive deletes every file it extracted.
  return exitCode;
}
