// The windows an interactive pass runs under, handed in by whoever runs the pass (the
// wizard's prerequisites page); the engines open none, and a quiet run passes none.
#pragma once
#include <vector>

#include "download/download_batch.h"
#include "install/install_platform.h"

class PassWindows {
public:
  virtual ~PassWindows() = default;
  // Shows the modal download window over the batch. It starts the batch's worker and returns
  // once the worker is gone: AllAttempted, NotStarted or Aborted.
  virtual DownloadRunResult ShowDownloads(DownloadBatch &batch) = 0;
  // Runs every setup in order through installer under the modal launch window and returns
  // after the last one. *started is made one entry a launch, each NotStarted until its
  // process starts: (*started)[i] tells whether setup i's process was started.
  virtual void RunLaunches(const std::vector<SetupLaunch> &launches, InstallPlatform &installer,
                           std::vector<SetupStart> *started) = 0;
};
