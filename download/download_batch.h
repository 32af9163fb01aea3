// The downloads of one batch and the worker thread that carries them out.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/object_vector.h"
#include "download/download_item.h"
#include "download/download_platform.h"

// How the worker's last run ended. The numbers are those the test programs print.
enum class BatchResult : int {
  AllAttempted = 0, // every item was tried; each item's status tells how it went
  Stopped = 2,      // the user cancelled
  NoInternet = 4,   // no internet session
};

// How a run of the batch ended for whoever ran it: a silent run, the download window, the
// plan's download pass. The numbers are those the test programs print.
enum class DownloadRunResult : int {
  AllAttempted = 0, // every item was tried
  NotStarted = 1,   // under a window: the window, the worker or the internet session failed
  Aborted = 4,      // under a window: the user cancelled
  Stopped = 5,      // silent: the batch stopped early or never started
};

class DownloadBatch {
public:
  explicit DownloadBatch(DownloadPlatform &platform = DefaultDownloadPlatform());
  // Cancels and waits for a worker that is still running.
  ~DownloadBatch();
  DownloadBatch(const DownloadBatch &) = delete;
  DownloadBatch &operator=(const DownloadBatch &) = delete;

  // Runs the worker without messages and waits for it: AllAttempted, or Stopped.
  DownloadRunResult runSilently();

  // Clears the flags, creates the pause event (signalled) and starts the worker, which posts
  // to notify (null: nothing is posted). False when the event or thread cannot be created.
  // A window that runs the batch starts it so, and waits for it before it returns.
  bool StartWorker(DownloadNotifier *notify);
  // Waits for the current worker, if any, to end, then closes its pause event: after its last
  // message the worker only closes its internet handle, and it must be gone before the event
  // it may still hold is closed.
  void WaitWorker();
  // Hold the worker before its next read, let it go on, or stop it (which also wakes a held
  // worker). Nothing happens while no worker has been started.
  void pause();
  void resume();
  void cancel();

  const std::string &folder() const { return folder_; }
  // Stores the folder with a trailing backslash.
  void setFolder(const std::string &folder);
  // Where each file is looked for before its addresses: a folder, or a web address (empty:
  // nowhere).
  void setSource(const std::string &source) { source_ = source; }
  base::ObjectVector<DownloadItem> &items() { return items_; }
  const base::ObjectVector<DownloadItem> &items() const { return items_; }
  BatchResult result() const { return result_; }
  uint32_t flags() const { return flags_.load(); }
  bool hasPauseEvent() const { return pauseEvent_ != nullptr; }
  DownloadPlatform &platform() const { return *platform_; }

private:
  static void WorkerEntry(void *self);
  // The worker thread's body.
  void DownloadWorker();
  void Post(unsigned message, uintptr_t wParam, intptr_t lParam);

  DownloadPlatform *platform_;
  std::string folder_;
  std::string source_;
  base::ObjectVector<DownloadItem> items_;
  BatchResult result_ = BatchResult::AllAttempted;
  std::unique_ptr<WorkerThread> worker_;
  // Written by the GUI thread, read by the worker before each read.
  std::atomic<uint32_t> flags_{0};
  std::unique_ptr<PauseEvent> pauseEvent_;
  DownloadNotifier *notify_ = nullptr;
};
