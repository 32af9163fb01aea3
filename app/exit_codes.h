// The setup's exit codes, in Windows Installer's own conventions, so deployment tools and
// scripts that run "setup.exe /qn" can tell an installed package from a failed run.
#pragma once

enum SetupExitCode : int {
  kExitSuccess = 0,
  // The package could not be started (ERROR_INSTALL_SERVICE_FAILURE).
  kExitInstallerNotStarted = 1601,
  // The user left the prerequisites wizard without finishing it (ERROR_INSTALL_USEREXIT).
  kExitUserCancelled = 1602,
  // The archive could not be opened, or extract-only mode did not write every entry
  // (ERROR_INSTALL_FAILURE).
  kExitInstallFailure = 1603,
  // A prerequisite's setup found another installation running; deployment tools retry it
  // (ERROR_INSTALL_ALREADY_RUNNING).
  kExitInstallerBusy = 1618,
  // A prerequisite's setup has started a restart (ERROR_SUCCESS_REBOOT_INITIATED).
  kExitRestartStarted = 1641,
  // A restart is needed, before the run can go on or to complete it
  // (ERROR_SUCCESS_REBOOT_REQUIRED).
  kExitRestartRequired = 3010,
};
// Otherwise the package's own exit code passes through, except that 0 becomes 3010 while a
// prerequisite's restart is pending.
