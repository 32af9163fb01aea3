#include "packer/stub_archive.h"

#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "packer/file_scan.h"

namespace {

// A footer read at footerAt is taken as real only when its offsets describe an archive that
// ends at the footer: data, then table, then footer, all inside the file.
bool IsPlausibleFooter(const ArchiveFooter &footer, uint32_t footerAt, CarriedArchive *result) {
  if (!HasArchiveMagic(footer) || footer.version != kArchiveVersion ||
      footer.dataOffset > footer.entryTableOffset ||
      footer.entryTableOffset > footer.footerOffset) {
    return false;
  }
  const int64_t delta = static_cast<int64_t>(footerAt) - footer.footerOffset;
  const int64_t start = static_cast<int64_t>(footer.dataOffset) + delta;
  if (start < 0) {
    return false;
  }
  const uint64_t tableBytes = static_cast<uint64_t>(footer.footerOffset) - footer.entryTableOffset;
  if (tableBytes < static_cast<uint64_t>(footer.entryCount) * (kEntryHeaderSize + 1)) {
    return false;
  }
  result->found = true;
  result->footerPosition = footerAt;
  result->archiveStart = static_cast<uint32_t>(start);
  return true;
}

} // namespace

bool FindCarriedArchive(sys::File &stub, uint32_t size, CarriedArchive *result) {
  *result = CarriedArchive();
  std::vector<uint32_t> positions;
  if (!FindAllInFile(stub, 0, size, std::string(kArchiveMagic, kMagicSize), &positions)) {
    return false;
  }
  for (size_t i = positions.size(); i-- > 0;) {
    const uint32_t magicAt = positions[i];
    if (magicAt < kMagicOffsetInFooter) {
      continue;
    }
    const uint32_t footerAt = magicAt - static_cast<uint32_t>(kMagicOffsetInFooter);
    if (static_cast<uint64_t>(footerAt) + kFooterSize > size) {
      continue;
    }
    unsigned char raw[kFooterSize];
    if (!ReadAt(stub, footerAt, raw, kFooterSize)) {
      return false;
    }
    ArchiveFooter footer;
    DecodeFooter(raw, &footer);
    if (IsPlausibleFooter(footer, footerAt, result)) {
      return true;
    }
  }
  return true;
}
