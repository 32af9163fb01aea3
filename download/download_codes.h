// The numbers shared by the per-file download result and the worker's window messages.
// They start above WM_USER (1024) so that they can be posted to a dialog as they are.
#pragma once

constexpr int DLM_FILE_COMPLETE = 1025; // result only: the file is complete
constexpr int DLM_FILE_STARTED = 1026;  // wParam item index
constexpr int DLM_PROGRESS = 1027;      // wParam bytes added, lParam hundredths of KB/s
constexpr int DLM_FILE_DONE = 1028;     // wParam item index
constexpr int DLM_START_FAILED = 1029;  // wParam item index (0 when the session failed)
constexpr int DLM_SAVE_FAILED = 1030;   // wParam item index
constexpr int DLM_READ_FAILED = 1031;   // wParam item index
constexpr int DLM_ABORTED = 1032;       // wParam item index
constexpr int DLM_WRONG_SIZE = 1034;    // wParam the server's length (or the file's, on a bad hash)
constexpr int DLM_ALL_DONE = 1035;
constexpr int DLM_SIZE_MISMATCH = 1036; // result only: the size or hash is wrong

// Bits of DownloadBatch's flags word.
constexpr unsigned kDownloadPausedFlag = 1;
constexpr unsigned kDownloadCancelFlag = 2;

// DownloadBatch::control codes.
constexpr int kDownloadPause = 0;
constexpr int kDownloadResume = 1;
constexpr int kDownloadCancel = 2;

// DownloadBatch result values.
constexpr int kBatchAllAttempted = 0;
constexpr int kBatchStopped = 2;
constexpr int kBatchNoInternet = 4;

// PrereqPlan::downloadAll results.
constexpr int kDownloadAllOk = 0;
constexpr int kDownloadNotStarted = 1;
constexpr int kDownloadUserAborted = 4;
constexpr int kDownloadSilentStopped = 5;
