// Remembers whether a file had its expected SHA-256, by path, size and last-write time, so
// that looking again at an unchanged file (every Browse of the prerequisites page) does not
// read it again.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class HashCheckCache {
public:
  // Whether the file at path has the hash sha256; hashed only when this path, size, time and
  // expected hash have not been seen before.
  bool Matches(const std::string &path, uint64_t size, uint64_t writeTime,
               const std::string &sha256);

private:
  // A list, newest first: entries are only ever added, and a list grows without moving them.
  struct Entry {
    std::string path;
    std::string sha256;
    uint64_t size;
    uint64_t writeTime;
    bool matches;
    std::unique_ptr<Entry> next;
  };
  std::unique_ptr<Entry> entries_;
};
