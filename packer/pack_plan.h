// Which entries a setup gets, in table order, under which names, and whether they may be packed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "packer/pack_options.h"
#include "packer/pack_status.h"

struct PlannedEntry {
  std::string path; // the input file
  std::string name; // the name in the archive
  uint32_t type = 0;
  uint32_t size = 0; // filled from the file
  // The bytes to store instead of the file's (the configuration rewritten for --carry).
  bool fromMemory = false;
  std::string bytes;
};

// Table order: the package, its cabinets, further package files, the configuration (stored as
// <package base name>.ini), the prerequisites' setups, then the carried ones (--carry). Refuses
// names the setup could not extract safely, duplicates (also those differing only in case:
// extracted on Windows, the second would overwrite the first) and a package whose name does not end
// in ".msi".
PackStatus PlanEntries(const PackOptions &options, std::vector<PlannedEntry> *entries);

// Why name cannot be an entry name; empty when it can.
std::string EntryNameProblem(const std::string &name);

// The flags the footer gets for these options.
uint32_t PlannedFlags(const PackOptions &options);
