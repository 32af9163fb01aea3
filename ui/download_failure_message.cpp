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

unsigned DownloadProblemStringId(DownloadProblem problem) {
  switch (problem) {
  case DownloadProblem::ServerError:
  case DownloadProblem::HttpStatus:
    return IDS_PROBLEM_HTTP;
  case DownloadProblem::Untrusted:
    return IDS_PROBLEM_UNTRUSTED;
  case DownloadProblem::WrongHost:
    return IDS_PROBLEM_WRONG_HOST;
  case DownloadProblem::Expired:
    return IDS_PROBLEM_EXPIRED;
  case DownloadProblem::InsecureRedirect:
    return IDS_PROBLEM_INSECURE_REDIRECT;
  case DownloadProblem::ProxyCredentials:
    return IDS_PROBLEM_PROXY;
  case DownloadProblem::BadAddress:
    return IDS_PROBLEM_ADDRESS;
  default:
    return IDS_PROBLEM_CONNECTION;
  }
}
