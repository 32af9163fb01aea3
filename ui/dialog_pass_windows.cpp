#include "ui/dialog_pass_windows.h"

#include <windows.h>

#include "ui/download_dialog.h"
#include "ui/launch_dialog.h"

DownloadRunResult DialogPassWindows::ShowDownloads(DownloadBatch &batch) {
  return RunDownloadDialog(batch, ::GetActiveWindow());
}

void DialogPassWindows::RunLaunches(const base::ObjectVector<SetupLaunch> &launches,
                                    InstallPlatform &installer) {
  RunLaunchDialog(launches, installer, ::GetActiveWindow());
}
