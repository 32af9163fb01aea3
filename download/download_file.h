// Fetching one file of a batch.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "download/download_item.h"
#include "download/download_platform.h"

struct DownloadFileJob {
  // The URL, the expected size (ExactSize), the hash and the signer to check; the batch's own
  // item, not a copy of it.
  const DownloadItem *item = nullptr;
  std::string path;
  HttpSession *internet = nullptr;
  DownloadNotifier *notify = nullptr; // null in a silent run
  const std::atomic<uint32_t> *flags = nullptr;
  PauseEvent *pauseEvent = nullptr;
  DownloadPlatform *platform = nullptr;
};

enum class FileDownloadResult {
  Complete,     // the file is there, whole (and with its hash)
  SizeMismatch, // the size, hash or signer is wrong; DLM_WRONG_SIZE has been posted
  StartFailed,  // the URL could not be opened
  SaveFailed,   // the local file cannot be created or written
  ReadFailed,   // reading from the connection failed
  Aborted,      // cancelled
};

// A partial file is kept for a later resume.
FileDownloadResult downloadFile(const DownloadFileJob &job);
