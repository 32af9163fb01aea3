// Finding an archive that a stub already carries (a finished setup given as the stub).
#pragma once
#include <cstdint>

#include "base/file.h"

struct CarriedArchive {
  bool found = false;
  uint32_t footerPosition = 0;
  // Where the old archive's data begins: the stub proper ends here.
  uint32_t archiveStart = 0;
};

// Looks at every "TESSARASFX" in the first size bytes of stub, nearest the end first, and takes
// the first one that sits in a footer of version 100 whose recorded offsets fit in front of it.
// The signature alone is not enough: the stub's own code carries it as a constant.
bool FindCarriedArchive(sys::File &stub, uint32_t size, CarriedArchive *result);
