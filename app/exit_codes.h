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
};
// Otherwise the package's own exit code passes through unchanged (0, 3010, 1603 ...).
