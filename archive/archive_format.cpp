#include "archive/archive_format.h"

#include <cstddef>
#include <cstring>

#include "base/text.h"

uint32_t ReadLe32(const unsigned char *p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // One load on the machines the setup runs on, instead of four loads and their shifts.
  uint32_t value;
  std::memcpy(&value, p, sizeof value);
  return value;
#else
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
#endif
}

void WriteLe32(unsigned char *p, uint32_t value) {
  p[0] = static_cast<unsigned char>(value);
  p[1] = static_cast<unsigned char>(value >> 8);
  p[2] = static_cast<unsigned char>(value >> 16);
  p[3] = static_cast<unsigned char>(value >> 24);
}

void EncodeFooter(const ArchiveFooter &footer, unsigned char out[kFooterSize]) {
  WriteLe32(out + 0, footer.entryCount);
  WriteLe32(out + 4, footer.version);
  WriteLe32(out + 8, footer.footerOffset);
  WriteLe32(out + 12, footer.entryTableOffset);
  WriteLe32(out + 16, footer.dataOffset);
  WriteLe32(out + 20, footer.flags);
  std::memcpy(out + kMagicOffsetInFooter, footer.magic, kMagicSize);
  out[34] = static_cast<unsigned char>(footer.reserved);
  out[35] = static_cast<unsigned char>(footer.reserved >> 8);
}

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// The records are laid out as the file's fields: on a little-endian machine one copy decodes them.
static_assert(sizeof(ArchiveFooter) == kFooterSize &&
                  offsetof(ArchiveFooter, magic) == kMagicOffsetInFooter &&
                  offsetof(ArchiveFooter, reserved) == 34,
              "the footer record mirrors the footer's bytes");
static_assert(sizeof(ArchiveEntry) == kEntryHeaderSize && offsetof(ArchiveEntry, nameLength) == 12,
              "the entry record mirrors the entry header's bytes");

void DecodeFooter(const unsigned char in[kFooterSize], ArchiveFooter *footer) {
  std::memcpy(footer, in, kFooterSize);
}

void DecodeEntryHeader(const unsigned char in[kEntryHeaderSize], ArchiveEntry *entry) {
  std::memcpy(entry, in, kEntryHeaderSize);
}
#else
void DecodeFooter(const unsigned char in[kFooterSize], ArchiveFooter *footer) {
  footer->entryCount = ReadLe32(in + 0);
  footer->version = ReadLe32(in + 4);
  footer->footerOffset = ReadLe32(in + 8);
  footer->entryTableOffset = ReadLe32(in + 12);
  footer->dataOffset = ReadLe32(in + 16);
  footer->flags = ReadLe32(in + 20);
  std::memcpy(footer->magic, in + kMagicOffsetInFooter, kMagicSize);
  footer->reserved = static_cast<uint16_t>(in[34] | (in[35] << 8));
}

void DecodeEntryHeader(const unsigned char in[kEntryHeaderSize], ArchiveEntry *entry) {
  entry->type = ReadLe32(in + 0);
  entry->size = ReadLe32(in + 4);
  entry->offset = ReadLe32(in + 8);
  entry->nameLength = ReadLe32(in + 12);
}
#endif

bool IsArchiveMagicAt(const unsigned char *p) {
  static const char kHead[] = "TESSA";
  static const char kTail[] = "RASFX";
  return std::memcmp(p, kHead, 5) == 0 && std::memcmp(p + 5, kTail, 5) == 0;
}

bool HasArchiveMagic(const ArchiveFooter &footer) {
  return IsArchiveMagicAt(reinterpret_cast<const unsigned char *>(footer.magic));
}

void EncodeEntryHeader(const ArchiveEntry &entry, unsigned char out[kEntryHeaderSize]) {
  WriteLe32(out + 0, entry.type);
  WriteLe32(out + 4, entry.size);
  WriteLe32(out + 8, entry.offset);
  WriteLe32(out + 12, entry.nameLength);
}

namespace {

bool IsDeviceDigit(char c) {
  // Windows counts the superscripts 1, 2 and 3 (0xB9, 0xB2, 0xB3) as digits here too.
  return (c >= '0' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

} // namespace

bool IsReservedDeviceName(const std::string &name) {
  // The device part ends at the first dot; blanks in front of the dot do not count.
  size_t end = name.find('.');
  if (end == std::string::npos) {
    end = name.size();
  }
  while (end > 0 && name[end - 1] == ' ') {
    --end;
  }
  // COM1 to COM9 and LPT1 to LPT9.
  if (end == 4 && (text::StartsWithNoCase(name, "COM") || text::StartsWithNoCase(name, "LPT")) &&
      IsDeviceDigit(name[3])) {
    return true;
  }
  static const char *const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char *device : kDevices) {
    if (std::strlen(device) == end && text::StartsWithNoCase(name, device)) {
      return true;
    }
  }
  return false;
}

bool IsSafeEntryName(const std::string &name) {
  if (name.empty() || name.size() > kMaxEntryNameLength || name == "." || name == "..") {
    return false;
  }
  if (name.back() == '.' || name.back() == ' ' || IsReservedDeviceName(name)) {
    return false;
  }
  // Byte-wise on purpose: a trail byte that equals '\\' would still be read as a separator
  // by a path API that does not know the code page the archive was built in.
  for (char c : name) {
    if (c == '\\' || c == '/' || c == ':' || c == '\0') {
      return false;
    }
  }
  return true;
}
