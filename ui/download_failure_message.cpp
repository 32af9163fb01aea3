#include "ui/download_failure_message.h"

#include "resources/resource.h"

DownloadFailure FailureOf(DownloadRunResult result) {
  switch (result) {
  case DownloadRunResult::NotStarted:
    return DownloadFailure::NotStarted;
  case DownloadRunResult::Aborted:
    return DownloadFailure::Aborted;
  default:
    return DownloadFailure::Failed;
  }
}

unsigned DownloadFailureStringId(DownloadFailure failure) {
  switch (failure) {
  case DownloadFailure::NotStarted:
    return IDS_DOWNLOAD_NOT_STARTED;
  case DownloadFailure::DownloadError:
    return IDS_DOWNLOAD_ERROR;
  case DownloadFailure::SaveError:
    return IDS_SAVE_ERROR;
  case DownloadFailure::Aborted:
    return IDS_DOWNLOAD_ABORTED;
  default:
    return IDS_DOWNLOAD_FAILED;
  }
}
