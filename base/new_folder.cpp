#include "base/new_folder.h"

#include <utility>

#include "base/file.h"

namespace sys {

namespace {

// Enough names that a few planted ones cannot stop a run, few enough that an unwritable parent
// fails at once.
constexpr int kNamesTried = 64;

// Spreads successive seeds over the whole range (a step of the golden ratio, then a mix).
uint32_t NameNumber(uint32_t seed, int attempt) {
  uint32_t x = seed + static_cast<uint32_t>(attempt) * 0x9E3779B9u;
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  return x;
}

} // namespace

bool CreateNewFolder(const std::string &parent, const std::string &prefix, uint32_t seed,
                     std::string *path) {
  for (int attempt = 0; attempt < kNamesTried; ++attempt) {
    std::string name = parent + prefix;
    const uint32_t number = NameNumber(seed, attempt);
    for (int shift = 28; shift >= 0; shift -= 4) {
      const char digit = static_cast<char>((number >> shift) & 0xF);
      name += static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
    }
    switch (MakeFolder(name)) {
    case FolderMade::Made:
      name += kPathSeparator;
      *path = std::move(name);
      return true;
    case FolderMade::Exists:
      continue;
    case FolderMade::Failed:
      return false;
    }
  }
  return false;
}

} // namespace sys
