#include "plan/hash_check_cache.h"

#include "download/sha256.h"

bool HashCheckCache::Matches(const std::string &path, uint64_t size, uint64_t writeTime,
                             const std::string &sha256) {
  Entry *entry = nullptr;
  for (Entry &e : entries_) {
    if (e.path == path && e.sha256 == sha256) {
      entry = &e;
      break;
    }
  }
  if (entry != nullptr && entry->size == size && entry->writeTime == writeTime) {
    return entry->matches;
  }
  std::string actual;
  bool matches = Sha256OfFile(path, &actual) && SameSha256(actual, sha256);
  if (entry == nullptr) {
    entries_.push_back(Entry{path, size, writeTime, sha256, matches});
  } else {
    entry->size = size;
    entry->writeTime = writeTime;
    entry->matches = matches;
  }
  return matches;
}
