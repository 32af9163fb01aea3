// Writes a setup file: the stub's program, each entry's data, the table, the footer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "packer/pack_layout.h"
#include "packer/pack_plan.h"
#include "packer/pack_status.h"

struct SetupContents {
  // The stub's program part as it goes into the setup (a carried archive cut off, the vendor's
  // resources written in).
  std::string stub;
  std::vector<PlannedEntry> entries;
  PackLayout layout;
  uint32_t flags = 0;
};

// Writes to a temporary file beside output and renames it into place only when everything was
// written, so that a failed pack never leaves a half setup. *written receives the final size.
PackStatus WriteSetup(const SetupContents &contents, const std::string &output, uint32_t *written);
