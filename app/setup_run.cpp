#include "app/setup_run.h"

#include <string>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/prerequisite_phase.h"
#include "app/restart_registration.h"
#include "app/run_log_start.h"
#include "app/setup_error.h"
#include "app/status_window.h"
#include "app/ui_language.h"
#include "archive/language_table.h"
#include "archive/sfx_archive.h"
#include "base/file.h"
#include "base/run_log.h"
#include "base/win/module_state.h"
#include "download/file_name_from_url.h"
#include "prereq/config_reader.h"
#include "resources/resource.h"
#include "ui/setup_name.h"
#include "ui/ui_text.h"

namespace {

// The state of one run.
struct SetupRun {
  SfxArchive archive;
  // The texts of the windows, when a language of the archive serves the user.
  LanguageTable language;
  std::string extractOnlyFolder;
  std::string title;
  std::string mainCommandLine;
  UiLevel uiLevel = UiLevel::Full;
  // False in an unattended run (the command line or the configuration's q option): what would
  // be a box goes to the log and the exit code.
  bool boxes = true;
};

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
  runlog::Line("Error: %", {win::LoadResourceString(messageId)});
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
      status.SetText(UiString(IDS_EXTRACTING));
    }
    extracted = run.archive.ExtractPackageFiles();
  }
  // A package missing a file, or cut short, is never handed to Windows Installer.
  if (extracted != kSetupOk) {
    ReportError(run, IDS_EXTRACT_ERROR);
    return kExitInstallFailure;
  }
  // Removed before the package can restart the machine: the prerequisites are done.
  UnregisterRestart(run.archive.modulePath());
  runlog::Line("Package command line: %", {run.mainCommandLine});
  uint32_t packageExitCode = 0;
  const int launched = run.archive.LaunchPackage(run.mainCommandLine, &packageExitCode);
  if (launched != kSetupOk) {
    // Reporting a package that never started as success would leave the user guessing.
    ReportError(run, MessageIdForSetupError(launched));
    return kExitInstallerNotStarted;
  }
  runlog::Line("Package exit code %", {packageExitCode});
  return static_cast<int>(packageExitCode);
}

// Copies the setup program into the folder of an offline copy. The copy fails for a folder that
// is not there or cannot be written, and for the setup's own folder: the running setup cannot
// be written over.
bool CopySetupInto(const SfxArchive &archive, std::string folder) {
  sys::EnsureTrailingBackslash(&folder);
  const std::string &setup = archive.modulePath();
  folder.append(setup, sys::LastSeparator(setup) + 1);
  return sys::CopyFilePath(setup, folder);
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
  // The setup's own options go no further: the package gets the rest of the line.
  std::string packageLine = commandLine;
  const std::string source = TakeSetupOption(&packageLine, "/source:");
  const std::string layout = TakeSetupOption(&packageLine, "/layout:");
  // A Windows language id; 0 (none) when it names none.
  const uint32_t language = ParseConfigNumber(TakeSetupOption(&packageLine, "/lang:"));

  const SetupError opened = run.archive.OpenInTempFolder();
  StartRunLog(run.archive.modulePath(), commandLine, options);
  // Chosen before anything is reported, so that every box is in the user's language. A run
  // without any window needs none: its log stays as it always was.
  if (opened == kSetupOk && run.uiLevel != UiLevel::None) {
    ChooseUiLanguage(run.archive, language <= 0xFFFF ? static_cast<uint16_t>(language) : 0,
                     &run.language);
  }
  int exitCode = kExitInstallFailure;
  // What the run reports before it ends, in a box where someone can answer it; 0: nothing.
  unsigned error = 0;
  if (opened != kSetupOk) {
    error = MessageIdForSetupError(opened);
  } else if (!source.empty() && !IsWebAddress(source) && !sys::FileExists(source)) {
    error = IDS_SOURCE_FOLDER;
  } else if (!layout.empty() && !CopySetupInto(run.archive, layout)) {
    error = IDS_LAYOUT_FOLDER;
  } else {
    // The product name and " Setup"; the path and " Setup" without a name. The wizard shows
    // the bare path when the version information cannot be read.
    std::string name;
    const bool named = ProductNameOrPath(run.archive.modulePath(), &name);
    run.title = SetupTitle(name);

    // The restart value is named after the setup's own path.
    const PhaseResult prerequisites = RunPrerequisitePhase(
        run.archive, {run.uiLevel, run.boxes, run.title, named ? run.title : name,
                      run.archive.modulePath(), source, layout});
    run.boxes = prerequisites.boxes;
    // The setup's own command line replaces the configuration's entirely.
    run.mainCommandLine = packageLine.empty() ? prerequisites.mainCommandLine : packageLine;
    if (!layout.empty()) {
      // The offline copy: every download there, or the run failed; nothing is launched.
      exitCode = prerequisites.stopCode;
      if (exitCode != kExitSuccess) {
        error = IDS_DOWNLOAD_FAILED;
      }
    } else if (prerequisites.stopCode != 0) {
      runlog::Line("Package not started");
      exitCode = prerequisites.stopCode;
    } else if (prerequisites.cancelled) {
      runlog::Line("Cancelled");
      exitCode = kExitUserCancelled;
    } else {
      exitCode = ExtractAndLaunch(run);
      if (exitCode == kExitSuccess && prerequisites.restartPending) {
        runlog::Line("Restart pending");
        exitCode = kExitRestartRequired;
      }
    }
    // Every normal run ends unregistered, cancelled or not, unless it stops for a restart.
    if (!prerequisites.keepRestartValue) {
      UnregisterRestart(run.archive.modulePath());
    }
  }
  if (error != 0) {
    ReportError(run, error);
  }
  runlog::Line("Exit code %", {static_cast<uint32_t>(exitCode)});
  // Destroying the archive deletes every file it extracted.
  return exitCode;
}
