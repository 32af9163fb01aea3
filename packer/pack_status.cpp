#include "packer/pack_status.h"

#include <cstdio>

int ReportStatus(const PackStatus &status) {
  if (!status.ok()) {
    std::fprintf(stderr, "tessara-pack: %s\n", status.message.c_str());
  }
  return status.exitCode;
}
