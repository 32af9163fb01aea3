// The message shown when a download pass did not go through.
#pragma once
#include "download/download_batch.h"

// What the page reports; the numbers are those of the pass's results, with 2 and 3 for errors
// of a single file.
enum class DownloadFailure : int {
  NotStarted = 1,    // "Download failed to start."
  DownloadError = 2, // a download error
  SaveError = 3,     // a downloaded file could not be saved
  Aborted = 4,       // "Download aborted."
  Failed = 5,        // any other failure: the general download failure
};

// The failure a pass's result other than AllAttempted reports.
DownloadFailure FailureOf(DownloadRunResult result);

// String-table id of the failure's text.
unsigned DownloadFailureStringId(DownloadFailure failure);

// String-table id of the text that says why a file failed.
unsigned DownloadProblemStringId(DownloadProblem problem);
