// The messages the download worker posts to its window, and the bits of the batch's flags word.
// The messages start above WM_USER (1024) so that they can be posted to a dialog as they are.
#pragma once

constexpr unsigned DLM_FILE_STARTED = 1026; // wParam item index
constexpr unsigned DLM_PROGRESS = 1027;     // wParam bytes added, lParam hundredths of KB/s
constexpr unsigned DLM_FILE_DONE = 1028;    // wParam item index
constexpr unsigned DLM_START_FAILED = 1029; // wParam 0: the internet session failed
constexpr unsigned DLM_SAVE_FAILED = 1030;  // wParam item index
// wParam item index: the network failed it; the item's problem says how.
constexpr unsigned DLM_READ_FAILED = 1031;
constexpr unsigned DLM_ABORTED = 1032; // wParam item index
// The current file is tried again: wParam the seconds of the pause before (0: at once, from
// its next address). The bytes it reported so far are reported again as it resumes.
constexpr unsigned DLM_RETRYING = 1033;
// wParam the server's length (or the file's, on a bad hash).
constexpr unsigned DLM_WRONG_SIZE = 1034;
constexpr unsigned DLM_ALL_DONE = 1035;

// Bits of DownloadBatch's flags word.
constexpr unsigned kDownloadPausedFlag = 1;
constexpr unsigned kDownloadCancelFlag = 2;
