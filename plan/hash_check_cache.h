// Remembers whether a file had its expected SHA-256, by path, size and last-write time, so
// that looking again at an unchanged file (every Browse of the prerequisites page) does not
// read it again.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class HashCheckCache {
public:
  // Whether the file at path has the hash sha256; hashed only when this path, size, time and
  // expected hash have not been seen before.
  bool Matches(const std::string &path, uint64_t size, uint64_t writeTime,
               const std::string &sha256);

private:
  struct Entry {
    std::string path;
    uint64_t size;
    uint64_t writeTime;
    std::string sha256;
    bool matches;
  };
  std::vector<Entry> entries_;
};
