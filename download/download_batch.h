// The downloads of one batch and the worker thread that carries them out.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "download/download_item.h"
#include "download/download_platform.h"

class DownloadBatch {
public:
  explicit DownloadBatch(DownloadPlatform &platform = DefaultDownloadPlatform());
  // Cancels and waits for a worker that is still running.
  ~DownloadBatch();
  DownloadBatch(const DownloadBatch &) = delete;
  DownloadBatch &operator=(const DownloadBatch &) = delete;

  // Silent: worker without messages, waited for; 5 when the batch stopped early (or never
  // started), else 0. Interactive: the dialog's result, 0, 1 or 4.
  int run(bool silent);

  // Clears the flags, creates the pause event (signalled) and starts the worker, which posts
  // to notify (null: nothing is posted). False when the event or thread cannot be created.
  bool StartWorker(DownloadNotifier *notify);
  // Waits for the current worker, if any, to end.
  void WaitWorker();
  // 0 pause, 1 resume, 2 cancel (also wakes a paused worker); other codes do nothing.
  void control(int code);

  const std::string &folder() const { return folder_; }
  // Stores the folder with a trailing backslash.
  void setFolder(const std::string &folder);
  std::vector<DownloadItem> &items() { return items_; }
  const std::vector<DownloadItem> &items() const { return items_; }
  int result() const { return result_; }
  uint32_t flags() const { return flags_.load(); }
  bool hasPauseEvent() const { return pauseEvent_ != nullptr; }
  DownloadPlatform &platform() { return *platform_; }

private:
  static void WorkerEntry(void *self);
  // The worker thread's body.
  void DownloadWorker();
  void Post(int code, uintptr_t wParam, intptr_t lParam);

  DownloadPlatform *platform_;
  std::string folder_;
  std::vector<DownloadItem> items_;
  int result_ = 0;
  std::unique_ptr<WorkerThread> worker_;
  // Written by the GUI thread, read by the worker before each read.
  std::atomic<uint32_t> flags_{0};
  std::unique_ptr<PauseEvent> pauseEvent_;
  DownloadNotifier *notify_ = nullptr;
};
