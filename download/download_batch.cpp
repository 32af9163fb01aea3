#include "download/download_batch.h"

#include "base/file.h"
#include "download/download_codes.h"
#include "download/download_file.h"
#include "download/file_name_from_url.h"

namespace {
constexpr const char *kAgent = "Tessara";
}

DownloadBatch::DownloadBatch(DownloadPlatform &platform) : platform_(&platform) {}

DownloadBatch::~DownloadBatch() {
  // A worker still running (or paused) is stopped first: it uses the items and the event.
  if (worker_) {
    cancel();
  }
  WaitWorker();
}

void DownloadBatch::setFolder(const std::string &folder) {
  folder_ = folder;
  sys::EnsureTrailingBackslash(&folder_);
}

DownloadRunResult DownloadBatch::runSilently() {
  const bool started = StartWorker(nullptr);
  WaitWorker();
  // A worker that never started leaves the result of an earlier run.
  return started && result_ == BatchResult::AllAttempted ? DownloadRunResult::AllAttempted
                                                         : DownloadRunResult::Stopped;
}

bool DownloadBatch::StartWorker(DownloadNotifier *notify) {
  WaitWorker();
  flags_.store(0);
  notify_ = notify;
  pauseEvent_ = platform_->CreatePauseEvent();
  if (!pauseEvent_) {
    return false;
  }
  worker_ = platform_->StartThread(&DownloadBatch::WorkerEntry, this);
  return worker_ != nullptr;
}

void DownloadBatch::WaitWorker() {
  if (worker_) {
    worker_->Wait();
    worker_.reset();
  }
  pauseEvent_.reset();
}

// The bit before the event: the worker waits on the event only when it sees the bit.
void DownloadBatch::pause() {
  if (pauseEvent_) {
    flags_.fetch_or(kDownloadPausedFlag);
    pauseEvent_->Reset();
  }
}

void DownloadBatch::resume() {
  if (pauseEvent_) {
    flags_.fetch_and(~kDownloadPausedFlag);
    pauseEvent_->Set();
  }
}

void DownloadBatch::cancel() {
  if (pauseEvent_) {
    flags_.fetch_or(kDownloadCancelFlag);
    pauseEvent_->Set();
  }
}

void DownloadBatch::WorkerEntry(void *self) {
  static_cast<DownloadBatch *>(self)->DownloadWorker();
}

void DownloadBatch::Post(unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (notify_ != nullptr) {
    notify_->Post(message, wParam, lParam);
  }
}

// The result is written before the message that ends the batch, so that whoever receives it
// reads the final value.
namespace {

// The message that tells the window how a file ended; 0 for a wrong size, which has posted
// DLM_WRONG_SIZE already.
unsigned MessageOf(FileDownloadResult result) {
  switch (result) {
  case FileDownloadResult::Complete:
    return DLM_FILE_DONE;
  case FileDownloadResult::SizeMismatch:
    return 0;
  case FileDownloadResult::StartFailed:
    return DLM_START_FAILED;
  case FileDownloadResult::SaveFailed:
    return DLM_SAVE_FAILED;
  case FileDownloadResult::ReadFailed:
    return DLM_READ_FAILED;
  case FileDownloadResult::Aborted:
    break;
  }
  return DLM_ABORTED;
}

} // namespace

void DownloadBatch::DownloadWorker() {
  std::unique_ptr<HttpSession> internet = platform_->OpenInternet(kAgent, &flags_);
  if (!internet) {
    result_ = BatchResult::NoInternet;
    Post(DLM_START_FAILED, 0, 0);
    return;
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    DownloadItem &item = items_[i];
    DownloadFileJob job;
    job.item = &item;
    job.path = DownloadTargetPath(folder_, item.url);
    job.internet = internet.get();
    job.notify = notify_;
    job.flags = &flags_;
    job.pauseEvent = pauseEvent_.get();
    job.platform = platform_;

    Post(DLM_FILE_STARTED, i, 0);
    const FileDownloadResult result = downloadFile(job);
    const unsigned message = MessageOf(result);
    item.status = result == FileDownloadResult::Complete ? DownloadItemStatus::Ok
                                                         : DownloadItemStatus::Failed;
    // A start that failed or a cancel ends the batch: the remaining items are not attempted.
    const bool stop =
        result == FileDownloadResult::StartFailed || result == FileDownloadResult::Aborted;
    if (stop) {
      result_ = BatchResult::Stopped;
    }
    if (message != 0) {
      Post(message, i, 0);
    }
    if (stop) {
      return;
    }
  }
  result_ = BatchResult::AllAttempted;
  Post(DLM_ALL_DONE, 0, 0);
}
