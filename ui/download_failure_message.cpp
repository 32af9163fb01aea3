#include "ui/download_failure_message.h"

#include "resources/resource.h"

unsigned DownloadFailureStringId(int result) {
  switch (result) {
  case 1:
    return IDS_DOWNLOAD_NOT_STARTED;
  case 2:
    return IDS_DOWNLOAD_ERROR;
  case kDownloadSaveFailedResult:
    return IDS_SAVE_ERROR;
  case 4:
    return IDS_DOWNLOAD_ABORTED;
  default:
    return IDS_DOWNLOAD_FAILED;
  }
}
