// Reads a whole file through a hash: the same loop for the system's SHA-256 and the portable one.
#pragma once
#include <cstdint>
#include <string>

#include "base/buffer.h"
#include "base/file.h"

// Hash has Update(data, size), false when the hash failed, and Final(digest), false likewise.
// False when the file cannot be read to its end or the hash fails; *digest is the hash then.
template <class Hash> bool HashFile(const std::string &path, Hash &hash, uint8_t (&digest)[32]) {
  sys::File file;
  if (!file.OpenRead(path)) {
    return false;
  }
  constexpr uint32_t kBufferSize = 65536;
  base::Buffer<uint8_t> buffer(kBufferSize);
  for (;;) {
    uint32_t got = 0;
    if (!file.Read(buffer.get(), kBufferSize, &got)) {
      return false;
    }
    if (got == 0) {
      return hash.Final(digest);
    }
    if (!hash.Update(buffer.get(), got)) {
      return false;
    }
  }
}
