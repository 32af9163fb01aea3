// The modal "Downloading..." dialog (template 203) in front of an interactive batch.
#pragma once
#include <windows.h>

class DownloadBatch;

// Shows the dialog owned by owner, starts the batch's worker from its initialisation and
// returns 0 (every item attempted), 1 (the download failed to start, also when the dialog
// cannot be shown) or 4 (aborted).
int RunDownloadDialog(DownloadBatch &batch, HWND owner);
