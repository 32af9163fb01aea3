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
void DownloadBatch::DownloadWorker() {
  std::unique_ptr<HttpSession> internet = platform_->OpenInternet(kAgent, &flags_);
  if (!internet) {
    result_ = BatchResult::NoInternet;
    Post(DLM_START_FAILED, 0, 0);
    return;
  }
  DownloadFileJob job;
  job.internet = internet.get();
  job.notify = notify_;
  job.flags = &flags_;
  job.pauseEvent = pauseEvent_.get();
  job.platform = platform_;
  for (size_t i = 0; i < items_.size(); ++i) {
    DownloadItem &item = items_[i];
    job.item = &item;

    Post(DLM_FILE_STARTED, i, 0);
    // A URL without a usable last segment has nothing to be saved as.
    const DownloadProblem problem = UsableDownloadPath(folder_, item.url, &job.path)
                                        ? downloadFile(job, source_)
                                        : DownloadProblem::SaveFailed;
    // Every failure but a cancel lets the batch go on with the next file.
    unsigned message = DLM_READ_FAILED;
    uintptr_t wParam = i;
    item.status = DownloadItemStatus::ReadFailed;
    switch (problem) {
    case DownloadProblem::None:
      item.status = DownloadItemStatus::Ok;
      message = DLM_FILE_DONE;
      break;
    case DownloadProblem::WrongFile:
      item.status = DownloadItemStatus::Failed;
      message = DLM_WRONG_SIZE;
      wParam = item.problemCode;
      break;
    case DownloadProblem::SaveFailed:
      item.status = DownloadItemStatus::SaveFailed;
      message = DLM_SAVE_FAILED;
      break;
    case DownloadProblem::Aborted:
      item.status = DownloadItemStatus::Failed;
      result_ = BatchResult::Stopped;
      Post(DLM_ABORTED, i, 0);
      return;
    default:
      break;
    }
    Post(message, wParam, 0);
  }
  result_ = BatchResult::AllAttempted;
  Post(DLM_ALL_DONE, 0, 0);
}
