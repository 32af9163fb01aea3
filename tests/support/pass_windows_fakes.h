// A stand-in for the wizard's pass windows: the download window answers with a scripted result
// and item statuses, the launch window runs each setup through the plan's installer; both count
// how often they opened.
#pragma once
#include <vector>

#include "plan/pass_windows.h"

class ScriptedPassWindows : public PassWindows {
public:
  DownloadRunResult downloadResult = DownloadRunResult::AllAttempted;
  std::vector<DownloadItemStatus> statuses; // given to the batch's first items
  int downloadWindows = 0;
  int launchWindows = 0;

  DownloadRunResult ShowDownloads(DownloadBatch &batch) override {
    ++downloadWindows;
    for (size_t i = 0; i < batch.items().size() && i < statuses.size(); ++i) {
      batch.items()[i].status = statuses[i];
    }
    return downloadResult;
  }
  void RunLaunches(const base::ObjectVector<SetupLaunch> &launches,
                   InstallPlatform &installer) override {
    ++launchWindows;
    for (const SetupLaunch &launch : launches) {
      installer.RunPrerequisiteSetup(launch);
    }
  }
};
