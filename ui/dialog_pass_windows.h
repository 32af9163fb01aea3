// The windows of the wizard's passes: the download dialog and the launch dialog, each owned by
// the window active when it opens.
#pragma once
#include "plan/pass_windows.h"

class DialogPassWindows : public PassWindows {
public:
  DownloadRunResult ShowDownloads(DownloadBatch &batch) override;
  void RunLaunches(const base::ObjectVector<SetupLaunch> &launches,
                   InstallPlatform &installer) override;
};
