// Where everything goes in a setup: stub, entry data back to back, entry table, footer last.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "packer/pack_plan.h"
#include "packer/pack_status.h"

struct PackLayout {
  uint32_t dataOffset = 0;       // the stub's size
  uint32_t entryTableOffset = 0; // right after the last entry's data
  uint32_t sizeBeforeFooter = 0; // stub + data + table
  std::vector<ArchiveEntry> headers;
  std::string table; // the encoded entry table
};

// Offsets as built. Refuses a setup that would reach 2 GiB: the setup positions its file with a
// signed 32-bit distance.
PackStatus ComputeLayout(uint32_t stubSize, const std::vector<PlannedEntry> &entries,
                         PackLayout *layout);

ArchiveFooter MakeFooter(const PackLayout &layout, uint32_t flags, uint32_t footerOffset);

// Zero bytes to put between the table and the footer. Normally none. The setup looks for its
// footer in the last kFooterSearchBlock bytes and takes the first signature there, so the file
// must be at least that long and no other signature may lie in that stretch (a prerequisite
// that is itself a setup ends with one). tail holds the last bytes before the footer (up to
// kFooterSearchBlock of them).
uint32_t FooterPadding(const std::string &tail, uint32_t sizeBeforeFooter, const PackLayout &layout,
                       uint32_t flags);
