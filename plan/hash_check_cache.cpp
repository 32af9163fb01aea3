#include "plan/hash_check_cache.h"

#include <utility>

#include "download/sha256.h"

bool HashCheckCache::Matches(const std::string &path, uint64_t size, uint64_t writeTime,
                             const std::string &sha256) {
  Entry *entry = entries_.get();
  while (entry != nullptr && !(entry->path == path && entry->sha256 == sha256)) {
    entry = entry->next.get();
  }
  if (entry != nullptr && entry->size == size && entry->writeTime == writeTime) {
    return entry->matches;
  }
  std::string actual;
  const bool matches = Sha256OfFile(path, &actual) && SameSha256(actual, sha256);
  if (entry == nullptr) {
    entry = new Entry{path, sha256, 0, 0, false, std::move(entries_)};
    entries_.reset(entry);
  }
  entry->size = size;
  entry->writeTime = writeTime;
  entry->matches = matches;
  return matches;
}
