#include "tools/hash_command.h"

#include <cstdio>

#include "download/sha256.h"

int RunHashCommand(const std::vector<std::string> &args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: tessara-pack hash <file>\n");
    return 2;
  }
  std::string hex;
  if (!Sha256OfFile(args[0], &hex)) {
    std::fprintf(stderr, "tessara-pack: cannot read %s\n", args[0].c_str());
    return 1;
  }
  // The line to paste into the prerequisite's section.
  std::printf("Sha256=%s\n", hex.c_str());
  return 0;
}
