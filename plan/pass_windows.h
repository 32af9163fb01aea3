// The windows an interactive pass runs under, handed in by whoever runs the pass (the
// wizard's prerequisites page); the engines open none, and a quiet run passes none.
#pragma once
#include "base/object_vector.h"
#include "download/download_batch.h"
#include "install/install_platform.h"

class PassWindows {
public:
  virtual ~PassWindows() = default;
  // Shows the modal download window over the batch. It starts the batch's worker and returns
  // once the worker is gone: AllAttempted, NotStarted or Aborted.
  virtual DownloadRunResult ShowDownloads(DownloadBatch &batch) = 0;
  // Runs every setup in order through installer under the modal launch window and returns
  // after the last one. What each start gave is installer's to note (the plan's recorder does).
  virtual void RunLaunches(const base::ObjectVector<SetupLaunch> &launches,
                           InstallPlatform &installer) = 0;
};
