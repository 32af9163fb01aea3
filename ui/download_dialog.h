// The modal "Downloading..." dialog (template 203) in front of an interactive batch.
#pragma once
#include <windows.h>

#include "download/download_batch.h"

// Shows the dialog owned by owner, starts the batch's worker from its initialisation and
// returns once the worker is gone: AllAttempted, NotStarted (the download failed to start, also
// when the dialog cannot be shown) or Aborted.
DownloadRunResult RunDownloadDialog(DownloadBatch &batch, HWND owner);
