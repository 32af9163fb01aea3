// One file of a download batch.
#pragma once
#include <cstdint>
#include <string>

enum class DownloadItemStatus : int {
  Ok = 0,         // the file is complete
  Failed = 1,     // given up (also a wrong size or hash)
  ReadFailed = 2, // reading from the connection failed
  SaveFailed = 3, // the local file cannot be created or written
  Pending = 4,    // not attempted
};

struct DownloadItem {
  std::string url;
  uint32_t size = 0; // ExactSize
  DownloadItemStatus status = DownloadItemStatus::Pending;
  int prereqIndex = 0;
  // Lower-case hex SHA-256 the file must have; empty when none is required.
  std::string sha256;
  // The name the file's signature must carry (DownloadPlatform::SignedBy); empty: none.
  std::string signer;
};
