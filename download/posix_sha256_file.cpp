// Files are hashed with the portable SHA-256 where the system offers none.
#include "base/buffer.h"
#include "base/file.h"
#include "download/sha256.h"

bool Sha256OfFile(const std::string &path, std::string *hex) {
  sys::File file;
  if (!file.OpenRead(path)) {
    return false;
  }
  constexpr uint32_t kBufferSize = 65536;
  base::Buffer<uint8_t> buffer(kBufferSize);
  Sha256 hash;
  for (;;) {
    uint32_t got = 0;
    if (!file.Read(buffer.get(), kBufferSize, &got)) {
      return false;
    }
    if (got == 0) {
      break;
    }
    hash.Update(buffer.get(), got);
  }
  *hex = hash.FinalHex();
  return true;
}
