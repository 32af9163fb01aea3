// Fetching one file of a batch: the per-file result is one of the download codes.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "download/download_platform.h"

struct DownloadFileJob {
  std::string url;
  uint32_t expectedSize = 0;
  std::string path;
  std::string sha256; // empty: no hash check
  HttpSession *internet = nullptr;
  DownloadNotifier *notify = nullptr; // null in a silent run
  const std::atomic<uint32_t> *flags = nullptr;
  PauseEvent *pauseEvent = nullptr;
  DownloadPlatform *platform = nullptr;
};

// Returns DLM_FILE_COMPLETE, DLM_SIZE_MISMATCH, DLM_START_FAILED, DLM_SAVE_FAILED,
// DLM_READ_FAILED or DLM_ABORTED. A partial file is kept for a later resume.
int downloadFile(const DownloadFileJob &job);
