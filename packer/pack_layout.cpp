#include "packer/pack_layout.h"

#include <cstring>

PackStatus ComputeLayout(uint32_t stubSize, const std::vector<PlannedEntry> &entries,
                         PackLayout *layout) {
  *layout = PackLayout();
  layout->dataOffset = stubSize;
  uint64_t at = stubSize;
  for (const PlannedEntry &entry : entries) {
    ArchiveEntry header;
    header.type = entry.type;
    header.size = entry.size;
    header.offset = static_cast<uint32_t>(at);
    header.nameLength = static_cast<uint32_t>(entry.name.size());
    layout->headers.push_back(header);
    at += entry.size;
    if (at > kMaxArchiveExtent) {
      break;
    }
  }
  uint64_t tableSize = 0;
  for (const PlannedEntry &entry : entries) {
    tableSize += kEntryHeaderSize + entry.name.size();
  }
  const uint64_t total = at + tableSize + kFooterSize;
  if (total > kMaxArchiveExtent) {
    return Refused("the setup would be " + std::to_string(total) +
                   " bytes; it must stay below 2 GiB (2147483648 bytes)");
  }
  layout->entryTableOffset = static_cast<uint32_t>(at);
  for (size_t i = 0; i < entries.size(); ++i) {
    unsigned char raw[kEntryHeaderSize];
    EncodeEntryHeader(layout->headers[i], raw);
    layout->table.append(reinterpret_cast<const char *>(raw), kEntryHeaderSize);
    layout->table += entries[i].name;
  }
  layout->sizeBeforeFooter = static_cast<uint32_t>(at + tableSize);
  return PackOk();
}

ArchiveFooter MakeFooter(const PackLayout &layout, uint32_t flags, uint32_t footerOffset) {
  ArchiveFooter footer;
  footer.entryCount = static_cast<uint32_t>(layout.headers.size());
  footer.version = kArchiveVersion;
  footer.footerOffset = footerOffset;
  footer.entryTableOffset = layout.entryTableOffset;
  footer.dataOffset = layout.dataOffset;
  footer.flags = flags;
  std::memcpy(footer.magic, kArchiveMagic, kMagicSize);
  footer.reserved = 0;
  return footer;
}

uint32_t FooterPadding(const std::string &tail, uint32_t sizeBeforeFooter, const PackLayout &layout,
                       uint32_t flags) {
  uint32_t padding = 0;
  if (sizeBeforeFooter + kFooterSize < kFooterSearchBlock) {
    padding = kFooterSearchBlock - (sizeBeforeFooter + kFooterSize);
  }
  for (;;) {
    unsigned char raw[kFooterSize];
    EncodeFooter(MakeFooter(layout, flags, sizeBeforeFooter + padding), raw);
    std::string end = tail;
    end.append(padding, '\0');
    end.append(reinterpret_cast<const char *>(raw), kFooterSize);
    // The first block the setup reads: the last 2048 bytes of the file.
    const std::string block =
        end.size() > kFooterSearchBlock ? end.substr(end.size() - kFooterSearchBlock) : end;
    const size_t ourMagic = block.size() - kFooterSize + kMagicOffsetInFooter;
    const size_t first = block.find(std::string(kArchiveMagic, kMagicSize));
    if (first >= ourMagic) {
      return padding;
    }
    // Push that signature out of the block, then look again.
    padding += static_cast<uint32_t>(first + 1);
  }
}
