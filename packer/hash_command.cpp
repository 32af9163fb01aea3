#include "packer/hash_command.h"

#include <cstdio>

#include "download/sha256.h"
#include "packer/pack_status.h"

int RunHashCommand(const std::vector<std::string> &args) {
  if (args.size() != 1) {
    return ReportStatus(UsageError("hash takes one file (usage: tessara-pack hash FILE)"));
  }
  std::string hex;
  if (!Sha256OfFile(args[0], &hex)) {
    return ReportStatus(IoError("cannot read '" + args[0] + "'"));
  }
  // The line to paste into the prerequisite's section.
  std::printf("Sha256=%s\n", hex.c_str());
  return kExitOk;
}
