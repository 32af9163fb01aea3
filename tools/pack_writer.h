// Writes a setup file: the stub (with its patches), each entry's data, the table, the footer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/pack_layout.h"
#include "tools/pack_plan.h"
#include "tools/pack_status.h"

struct StubPatch {
  uint32_t offset = 0;
  std::vector<unsigned char> bytes;
};

struct SetupContents {
  std::string stubPath;
  uint32_t stubSize = 0; // bytes of the stub copied (a carried archive is cut off)
  std::vector<StubPatch> patches;
  std::vector<PlannedEntry> entries;
  PackLayout layout;
  uint32_t flags = 0;
};

// Writes to a temporary file beside output and renames it into place only when everything was
// written, so that a failed pack never leaves a half setup. *written receives the final size.
PackStatus WriteSetup(const SetupContents &contents, const std::string &output, uint32_t *written);
