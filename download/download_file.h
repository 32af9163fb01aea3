// Fetching one file of a batch.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "download/download_item.h"
#include "download/download_platform.h"

struct DownloadFileJob {
  // The addresses, the expected size (ExactSize), the hash and the signer to check, and where
  // the last try's problem goes; the batch's own item, not a copy of it.
  DownloadItem *item = nullptr;
  std::string path;
  HttpSession *internet = nullptr;
  DownloadNotifier *notify = nullptr; // null in a silent run
  const std::atomic<uint32_t> *flags = nullptr;
  PauseEvent *pauseEvent = nullptr;
  DownloadPlatform *platform = nullptr;
};

// Fetches the item into job.path: from source first (a folder the file is copied from, or a web
// address it is looked for under; empty: none), then from its url and mirrors in order. A
// transient failure (no connection, a connection that breaks off or stalls, a 5xx answer) is
// tried again after 1, 2 and 4 s, resuming where the server allows; any other failure moves on
// to the next address. Returns how the last try ended (None: the file is complete and has its
// size, hash and signer); the item keeps it with its number. A partial file is kept for a later
// resume; a whole one that fails its checks is deleted.
DownloadProblem downloadFile(const DownloadFileJob &job, const std::string &source);

// The log's words for a problem that leaves another try (not None, SaveFailed or Aborted); its
// number follows them: the WinINet error, the HTTP status, or the file's size.
const char *DownloadProblemWords(DownloadProblem problem);
