// The appended archive's on-disk format, shared by the bootstrapper and the packer.
// All integers are unsigned 32-bit little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

enum SetupError : int {
  kSetupOk = 0,
  kFileError = 2,
  kOutOfMemory = 3,
  kPathUnavailable = 4,
  kCorrupted = 5,
  kUnsupportedVersion = 6,
  kInstallerNotStarted = 7,
};

enum ArchiveEntryType : uint32_t {
  kMainPackage = 0,
  kPackageCabinet = 1,
  kPackageFile = 2,
  kConfiguration = 3,
  kPrerequisiteSetup = 4, // and every value above but kLanguageTable
  kLanguageTable = 5,     // the texts of one language (archive/language_table.h)
};

// Whether an entry of this type is a prerequisite's setup, extracted on demand by its name.
inline bool IsPrerequisiteSetupType(uint32_t type) {
  return type >= kPrerequisiteSetup && type != kLanguageTable;
}

enum ArchiveFlags : uint32_t {
  kExternalFiles = 1,
  kHasPrerequisites = 2,
};

// For the packer and tests; the setup program itself must not use it (see IsArchiveMagicAt).
constexpr char kArchiveMagic[] = "TESSARASFX";
constexpr size_t kMagicSize = 10;
constexpr uint32_t kArchiveVersion = 100;
constexpr uint32_t kFooterSize = 36;
constexpr size_t kMagicOffsetInFooter = 24;
constexpr uint32_t kEntryHeaderSize = 16;
// Names longer than this cannot be a file name in a 260-character path (sys::kMaxPath).
constexpr uint32_t kMaxEntryNameLength = 259;
// Offsets are positioned with a signed 32-bit distance: nothing may lie at or past 2 GiB.
constexpr uint32_t kMaxArchiveExtent = 0x7FFFFFFFu;
// The setup looks for its footer from the end of its file backwards in blocks of this many
// bytes and takes the first signature it meets. So a setup is at least this long, and the
// packer keeps every other signature out of its last block.
constexpr uint32_t kFooterSearchBlock = 2048;

struct ArchiveFooter {
  uint32_t entryCount = 0;
  uint32_t version = 0;
  uint32_t footerOffset = 0;
  uint32_t entryTableOffset = 0;
  uint32_t dataOffset = 0;
  uint32_t flags = 0;
  char magic[kMagicSize] = {};
  uint16_t reserved = 0;
};

struct ArchiveEntry {
  uint32_t type = 0;
  uint32_t size = 0;
  uint32_t offset = 0;
  uint32_t nameLength = 0;
};

uint32_t ReadLe32(const unsigned char *p);
void WriteLe32(unsigned char *p, uint32_t value);

void EncodeFooter(const ArchiveFooter &footer, unsigned char out[kFooterSize]);
void DecodeFooter(const unsigned char in[kFooterSize], ArchiveFooter *footer);
bool HasArchiveMagic(const ArchiveFooter &footer);
// Whether the ten bytes at p are the signature. The setup program compares in two halves and
// never holds the ten bytes in one piece: its search over its own file would find them.
bool IsArchiveMagicAt(const unsigned char *p);

void EncodeEntryHeader(const ArchiveEntry &entry, unsigned char out[kEntryHeaderSize]);
void DecodeEntryHeader(const unsigned char in[kEntryHeaderSize], ArchiveEntry *entry);

// A name that can only ever be a bare file name: 1 to 259 bytes, no path separator, no drive
// colon, no NUL, and neither "." nor "..". Anything else could write outside its folder.
// Nor a device name (see IsReservedDeviceName), nor one ending in a dot or a space, which
// Windows strips, so the file written would not be the one named.
bool IsSafeEntryName(const std::string &name);
// CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9 (also with the superscript digits 1-3 of the
// Western code page), CONIN$ and CONOUT$, in any case, alone or followed by an extension
// (blanks before the dot included): opening such a name opens the device, not a file.
bool IsReservedDeviceName(const std::string &name);
