#include "download/download_batch.h"

#include "base/text.h"
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
    control(kDownloadCancel);
  }
  WaitWorker();
}

void DownloadBatch::setFolder(const std::string &folder) {
  folder_ = folder;
  text::EnsureTrailingBackslash(&folder_);
}

int DownloadBatch::run(bool silent) {
  int result;
  if (silent) {
    if (StartWorker(nullptr)) {
      WaitWorker();
      result = result_ != kBatchAllAttempted ? kDownloadSilentStopped : kDownloadAllOk;
    } else {
      result = kDownloadSilentStopped;
    }
  } else {
    result = platform_->ShowDownloadDialog(*this);
    // After the last message the worker only closes its internet handle; it must be gone
    // before the event it may still hold is closed.
    WaitWorker();
  }
  pauseEvent_.reset();
  return result;
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
}

void DownloadBatch::control(int code) {
  if (!pauseEvent_) {
    return;
  }
  // The bit before the event: the worker waits on the event only when it sees the bit.
  switch (code) {
  case kDownloadPause:
    flags_.fetch_or(kDownloadPausedFlag);
    pauseEvent_->Reset();
    break;
  case kDownloadResume:
    flags_.fetch_and(~kDownloadPausedFlag);
    pauseEvent_->Set();
    break;
  case kDownloadCancel:
    flags_.fetch_or(kDownloadCancelFlag);
    pauseEvent_->Set();
    break;
  default:
    break;
  }
}

void DownloadBatch::WorkerEntry(void *self) {
  static_cast<DownloadBatch *>(self)->DownloadWorker();
}

void DownloadBatch::Post(int code, uintptr_t wParam, intptr_t lParam) {
  if (notify_ != nullptr) {
    notify_->Post(code, wParam, lParam);
  }
}

// The result is written before the message that ends the batch, so that whoever receives it
// reads the final value.
void DownloadBatch::DownloadWorker() {
  std::unique_ptr<HttpSession> internet = platform_->OpenInternet(kAgent, &flags_);
  if (!internet) {
    result_ = kBatchNoInternet;
    Post(DLM_START_FAILED, 0, 0);
    return;
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    DownloadItem &item = items_[i];
    DownloadFileJob job;
    job.url = item.url;
    job.expectedSize = item.size;
    job.path = DownloadTargetPath(folder_, item.url);
    job.sha256 = item.sha256;
    job.internet = internet.get();
    job.notify = notify_;
    job.flags = &flags_;
    job.pauseEvent = pauseEvent_.get();
    job.platform = platform_;

    Post(DLM_FILE_STARTED, i, 0);
    int code = downloadFile(job);
    bool stops = code == DLM_ABORTED || code == DLM_START_FAILED;
    if (stops) {
      result_ = kBatchStopped;
    }
    if (code == DLM_FILE_COMPLETE) {
      item.status = DownloadItemStatus::Ok;
      Post(DLM_FILE_DONE, i, 0);
    } else if (code == DLM_SIZE_MISMATCH) {
      // DLM_WRONG_SIZE has been posted already.
      item.status = DownloadItemStatus::Failed;
    } else {
      item.status = DownloadItemStatus::Failed;
      Post(code, i, 0);
    }
    if (stops) {
      return;
    }
  }
  result_ = kBatchAllAttempted;
  Post(DLM_ALL_DONE, 0, 0);
}
