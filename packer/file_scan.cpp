#include "packer/file_scan.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kScanChunk = 256 * 1024;

} // namespace

bool ReadAt(sys::File &file, uint32_t position, void *buffer, uint32_t size) {
  if (!file.SeekFromBegin(position)) {
    return false;
  }
  auto *out = static_cast<unsigned char *>(buffer);
  uint32_t done = 0;
  while (done < size) {
    uint32_t moved = 0;
    if (!file.Read(out + done, size - done, &moved) || moved == 0) {
      return false;
    }
    done += moved;
  }
  return true;
}

bool FindAllInFile(sys::File &file, uint32_t begin, uint32_t end, const std::string &pattern,
                   std::vector<uint32_t> *positions) {
  positions->clear();
  const uint32_t length = static_cast<uint32_t>(pattern.size());
  if (length == 0 || end <= begin || end - begin < length) {
    return true;
  }
  std::vector<unsigned char> chunk(kScanChunk + length);
  // Each chunk starts length - 1 bytes before the previous one ended.
  uint32_t at = begin;
  for (;;) {
    const uint32_t want = end - at < kScanChunk + length ? end - at : kScanChunk + length;
    if (!ReadAt(file, at, chunk.data(), want)) {
      return false;
    }
    for (uint32_t i = 0; i + length <= want; ++i) {
      if (std::memcmp(chunk.data() + i, pattern.data(), length) == 0) {
        positions->push_back(at + i);
      }
    }
    if (at + want >= end) {
      return true;
    }
    at += want - (length - 1);
  }
}

bool ReadFileHead(const std::string &path, uint32_t limit, std::string *bytes) {
  sys::File file;
  bytes->clear();
  if (!file.OpenRead(path)) {
    return false;
  }
  std::vector<char> chunk(64 * 1024);
  while (bytes->size() < limit) {
    const uint32_t want =
        static_cast<uint32_t>(std::min<size_t>(chunk.size(), limit - bytes->size()));
    uint32_t moved = 0;
    if (!file.Read(chunk.data(), want, &moved)) {
      return false;
    }
    if (moved == 0) {
      break;
    }
    bytes->append(chunk.data(), moved);
  }
  return true;
}
