// The headers of a Windows program (a PE image) as far as the setup and the packer both read
// them: the DOS header's pointer to the PE headers, the "PE\0\0" signature with the file header,
// and where the optional header keeps its data directories. The bytes come from files of any
// origin: every read is checked against the bytes at hand.
#pragma once
#include <cstddef>
#include <cstdint>

#include "archive/archive_format.h"

namespace pe {

constexpr uint32_t kDosHeaderSize = 64;
// The DOS header's last field (e_lfanew): where the PE headers begin.
constexpr uint32_t kHeadersOffsetField = 0x3C;
// "PE\0\0" and the 20-byte file header; the optional header follows them.
constexpr uint32_t kSignatureSize = 4;
constexpr uint32_t kFileHeadersSize = kSignatureSize + 20;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
// Data directories: an address (for the certificate table, a file offset) and a size each.
constexpr uint32_t kDirectoryEntrySize = 8;
constexpr uint32_t kDirResource = 2;
constexpr uint32_t kDirSecurity = 4;
constexpr uint32_t kDirBaseReloc = 5;

struct FileHeader {
  uint16_t machine = 0;
  uint16_t sectionCount = 0;
  uint16_t optionalSize = 0;
  uint16_t characteristics = 0;
};

inline uint16_t ReadLe16(const unsigned char *p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Where the PE headers begin, read from the first size bytes of a file; false unless they hold
// a whole DOS header that starts with "MZ". This and the next are all the setup reads, inline:
// a call would cost it more than the check.
inline bool ReadHeadersOffset(const unsigned char *file, size_t size, uint32_t *headersAt) {
  if (size < kDosHeaderSize || file[0] != 'M' || file[1] != 'Z') {
    return false;
  }
  *headersAt = ReadLe32(file + kHeadersOffsetField);
  return true;
}
// Whether the size bytes at headers begin with the "PE\0\0" signature.
inline bool HasSignature(const unsigned char *headers, size_t size) {
  return size >= kSignatureSize && ReadLe32(headers) == 0x00004550u;
}
// The file header after the signature; false unless the size bytes at headers hold the
// signature and the whole file header.
bool ReadFileHeader(const unsigned char *headers, size_t size, FileHeader *header);
// Whether the first size bytes of a file are a DOS header pointing at a "PE\0\0" signature that
// lies within them: any Windows executable or DLL.
bool IsWindowsProgram(const unsigned char *file, size_t size);

// Where, from the start of an optional header of this magic, the count of data directories
// stands (the directories follow it); 0 for a magic other than PE32's and PE32+'s.
constexpr uint32_t DirectoryCountAt(uint32_t magic) {
  return magic == kMagicPe32 ? 92 : magic == kMagicPe32Plus ? 108 : 0;
}

} // namespace pe
