#include "tools/hash_command.h"

#include <cstdio>

// Placeholder until the hashing code lands.
int RunHashCommand(const std::vector<std::string> &) {
  std::fprintf(stderr, "tessara-pack: hash is not available in this build\n");
  return 2;
}
