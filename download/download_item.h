// One file of a download batch.
#pragma once
#include <cstdint>
#include <string>

#include "base/object_vector.h"

enum class DownloadItemStatus : int {
  Ok = 0,         // the file is complete
  Failed = 1,     // given up (also a wrong size or hash)
  ReadFailed = 2, // the network failed it
  SaveFailed = 3, // the local file cannot be created or written
  Pending = 4,    // not attempted
};

// How a try at a download ended: what the log and the download window say about it, with the
// number DownloadItem::problemCode holds.
enum class DownloadProblem : uint8_t {
  None,             // the file is complete
  WrongFile,        // its size, hash or signer is wrong (the size)
  SaveFailed,       // the local file cannot be written
  Aborted,          // cancelled
  Connection,       // no connection, it broke off or stalled, or no status came (the WinINet
                    // error, or 0)
  ServerError,      // a 5xx answer or another that is neither 2xx nor 4xx (the HTTP status)
  HttpStatus,       // a 4xx answer (the HTTP status)
  Untrusted,        // the server's certificate is not trusted (the WinINet error)
  WrongHost,        // the certificate is another host's (the WinINet error)
  Expired,          // the certificate has expired or is not valid yet (the WinINet error)
  InsecureRedirect, // an https address redirected to http (the HTTP status)
  ProxyCredentials, // the proxy wants credentials nobody gave (407)
  BadAddress,       // not an http:// or https:// address, or redirected round in circles
};

struct DownloadItem {
  std::string url;
  // Url2, Url3, ...: tried in order after url (the file keeps url's name); null: none. The
  // list is the configuration's, which outlives every batch.
  const base::StringList *mirrors = nullptr;
  uint32_t size = 0; // ExactSize
  DownloadItemStatus status = DownloadItemStatus::Pending;
  int prereqIndex = 0;
  // Lower-case hex SHA-256 the file must have; empty when none is required.
  std::string sha256;
  // The name the file's signature must carry (DownloadPlatform::SignedBy); empty: none.
  std::string signer;
  // A hash or a signer decides whether a file is the right one; without a size the server's
  // length is then taken as the file's.
  bool checksContent() const { return !sha256.empty() || !signer.empty(); }
  // How the last try ended, and its number.
  DownloadProblem problem = DownloadProblem::None;
  uint32_t problemCode = 0;
};
