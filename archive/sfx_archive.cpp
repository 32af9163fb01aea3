#include "archive/sfx_archive.h"

#include "archive/pe_headers.h"
#include "base/buffer.h"

#ifdef _WIN32
#include "base/win/wide_text.h"
#endif

namespace {

// Later blocks overlap the previous one by nine bytes, so every start position of the
// ten-byte signature is tested once.
constexpr uint32_t kBlockStep = kFooterSearchBlock - (kMagicSize - 1);
constexpr uint32_t kCopyBufferSize = 65536;

// The name without its last four characters (its extension); fewer when it is shorter.
std::string WithoutExtension(const std::string &name) {
  return name.substr(0, name.size() > 4 ? name.size() - 4 : 0);
}

// Reads exactly size bytes; a short read counts as a failure.
bool ReadExactly(sys::File &file, void *buffer, uint32_t size) {
  uint32_t moved = 0;
  return file.Read(buffer, size, &moved) && moved == size;
}

// Where the Authenticode certificate table of a PE file begins, when that table runs to the
// end of the file (a setup signed after packing); fileSize otherwise, and for anything that
// is not a PE file with such a table. The table's bytes are not covered by the signature, so
// an archive hidden in them must never be taken for the setup's own.
uint32_t EndOfSignedContent(sys::File &file, uint32_t fileSize) {
  unsigned char dos[pe::kDosHeaderSize];
  uint32_t headersAt = 0;
  if (!file.SeekFromBegin(0) || !ReadExactly(file, dos, sizeof dos) ||
      !pe::ReadHeadersOffset(dos, sizeof dos, &headersAt)) {
    return fileSize;
  }
  // Signature, file header and the optional header up to its sixteenth directory.
  unsigned char header[pe::kFileHeadersSize + 112 + 16 * pe::kDirectoryEntrySize];
  if (headersAt > fileSize || fileSize - headersAt < sizeof header ||
      !file.SeekFromBegin(headersAt) || !ReadExactly(file, header, sizeof header) ||
      !pe::HasSignature(header, sizeof header)) {
    return fileSize;
  }
  const unsigned char *optional = header + pe::kFileHeadersSize;
  // PE32 and PE32+ differ in where the count of directories and the directories stand.
  const uint32_t countAt = pe::DirectoryCountAt(pe::ReadLe16(optional));
  if (countAt == 0 || ReadLe32(optional + countAt) <= pe::kDirSecurity) {
    return fileSize;
  }
  const unsigned char *directory =
      optional + countAt + 4 + pe::kDirSecurity * pe::kDirectoryEntrySize;
  const uint32_t tableAt = ReadLe32(directory);
  const uint32_t tableSize = ReadLe32(directory + 4);
  if (tableAt == 0 || tableSize == 0 || tableAt >= fileSize ||
      static_cast<uint64_t>(tableAt) + tableSize < fileSize) {
    return fileSize;
  }
  return tableAt;
}

} // namespace

SfxArchive::~SfxArchive() {
  archiveFile_.Close();
  if (!keepFiles_) {
    DeleteExtractedFiles();
    if (!ownFolder_.empty()) {
      sys::RemoveFolder(ownFolder_);
    }
  }
}

SetupError SfxArchive::LocateFooter() {
  base::Buffer<unsigned char> block;
  if (!block.Allocate(kFooterSearchBlock)) {
    return kOutOfMemory;
  }
  uint32_t fileSize = 0;
  if (!archiveFile_.SeekToEnd(&fileSize)) {
    return kFileError;
  }
  // A signed setup: the search starts where its certificate table begins.
  const uint32_t searchEnd = EndOfSignedContent(archiveFile_, fileSize);
  footerSearchBytesRead_ = 0;
  uint64_t distance = kFooterSearchBlock;
  for (;;) {
    // A block that would begin before the start of the file ends the search.
    if (distance > searchEnd || distance > kMaxArchiveExtent ||
        !archiveFile_.SeekFromBegin(searchEnd - static_cast<uint32_t>(distance))) {
      return kFileError;
    }
    uint32_t moved = 0;
    if (!archiveFile_.Read(block.get(), kFooterSearchBlock, &moved)) {
      return kFileError;
    }
    footerSearchBytesRead_ += moved;
    if (moved != kFooterSearchBlock) {
      return kFileError;
    }
    const uint32_t blockStart = searchEnd - static_cast<uint32_t>(distance);
    for (uint32_t pos = 0; pos + kMagicSize <= kFooterSearchBlock; ++pos) {
      if (!IsArchiveMagicAt(block.get() + pos)) {
        continue;
      }
      const uint32_t magicAt = blockStart + pos;
      if (magicAt < kMagicOffsetInFooter) {
        return kFileError; // a footer would have to start before the file
      }
      const uint32_t footerAt = magicAt - static_cast<uint32_t>(kMagicOffsetInFooter);
      unsigned char raw[kFooterSize];
      if (!archiveFile_.SeekFromBegin(footerAt) || !ReadExactly(archiveFile_, raw, kFooterSize)) {
        return kFileError;
      }
      DecodeFooter(raw, &footer_);
      if (!HasArchiveMagic(footer_)) {
        return kCorrupted;
      }
      if (footer_.version != kArchiveVersion) {
        return kUnsupportedVersion;
      }
      offsetDelta_ = static_cast<int32_t>(footerAt - footer_.footerOffset);
      return kSetupOk;
    }
    distance += kBlockStep;
  }
}

SetupError SfxArchive::ReadEntryTable() {
  const uint32_t tableAt = footer_.entryTableOffset + static_cast<uint32_t>(offsetDelta_);
  if (!archiveFile_.SeekFromBegin(tableAt)) {
    return kFileError;
  }
  for (uint32_t i = 0; i < footer_.entryCount; ++i) {
    unsigned char raw[kEntryHeaderSize];
    if (!ReadExactly(archiveFile_, raw, kEntryHeaderSize)) {
      return kFileError;
    }
    ArchiveEntry entry;
    DecodeEntryHeader(raw, &entry);
    if (entry.nameLength == 0) {
      return kFileError;
    }
    // The length comes from the file: bound it before it sizes anything.
    if (entry.nameLength > kMaxEntryNameLength) {
      return kCorrupted;
    }
    char buffer[kMaxEntryNameLength];
    if (!ReadExactly(archiveFile_, buffer, entry.nameLength)) {
      return kFileError;
    }
    const std::string name(buffer, entry.nameLength);
    // A name that is not a bare file name could write outside the extraction folder.
    if (!IsSafeEntryName(name)) {
      return kCorrupted;
    }
    // Written in the ANSI code page, kept as path text like the folders it is joined to.
    entries_.push_back(Entry{entry, sys::PathFromAnsi(name), false});
  }
  return kSetupOk;
}

void SfxArchive::AssignKnownFiles() {
  configPath_ = extractFolder_;
  if (HasFlag(kExternalFiles)) {
    // No separator gives npos, and npos + 1 the whole path.
    configPath_ += modulePath_.substr(sys::LastSeparator(modulePath_) + 1);
    if (configPath_.size() >= 3) {
      configPath_ = configPath_.substr(0, configPath_.size() - 3) + "ini";
    }
    packageBaseName_ = WithoutExtension(configPath_.substr(sys::LastSeparator(configPath_) + 1));
    return;
  }
  for (const Entry &entry : entries_) {
    if (entry.header.type == kConfiguration) {
      configPath_ += entry.name;
      packageBaseName_ = WithoutExtension(entry.name);
      return;
    }
  }
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].header.type == kMainPackage) {
      packageBaseName_ = WithoutExtension(entries_[i].name);
      return;
    }
  }
}

SetupError SfxArchive::Open() {
  sys::EnsureTrailingSeparator(&extractFolder_);
  const std::string configFolder = extractFolder_;
  if (modulePath_.empty() || !archiveFile_.OpenRead(modulePath_)) {
    return kFileError;
  }
  SetupError result = LocateFooter();
  if (result != kSetupOk) {
    archiveFile_.Close();
    return result;
  }
  if (HasFlag(kExternalFiles)) {
    extractFolder_ = modulePath_.substr(0, sys::LastSeparator(modulePath_) + 1);
  }
  result = footer_.entryCount == 0 ? kSetupOk : ReadEntryTable();
  if (result != kSetupOk) {
    archiveFile_.Close();
    // Entries read before the failure are dropped: nothing of a broken table gets extracted.
    entries_.clear();
  }
  AssignKnownFiles();
  if (result != kSetupOk || footer_.entryCount == 0 || !HasFlag(kHasPrerequisites) ||
      HasFlag(kExternalFiles)) {
    return result;
  }
  const int index = FindEntry(configPath_.substr(sys::LastSeparator(configPath_) + 1));
  return ExtractEntry(index, configFolder);
}

SetupError SfxArchive::ExtractEntry(int index, const std::string &folder) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
    return kFileError;
  }
  Entry &entry = entries_[static_cast<size_t>(index)];
  if (entry.extracted) {
    return kSetupOk;
  }
  // The buffer and the position come first: a file is only made when it can be filled.
  base::Buffer<char> buffer;
  if (!buffer.Allocate(kCopyBufferSize)) {
    return kOutOfMemory;
  }
  const std::string path = folder + entry.name;
  sys::File out;
  if (!sys::PathFits(path) ||
      !archiveFile_.SeekFromBegin(entry.header.offset + static_cast<uint32_t>(offsetDelta_)) ||
      !out.Create(path)) {
    return kFileError;
  }
  uint32_t remaining = entry.header.size;
  while (remaining > 0) {
    const uint32_t chunk = remaining < kCopyBufferSize ? remaining : kCopyBufferSize;
    uint32_t read = 0;
    uint32_t written = 0;
    if (!archiveFile_.Read(buffer.get(), chunk, &read) || read == 0 ||
        !out.Write(buffer.get(), read, &written) || written == 0) {
      break;
    }
    remaining -= written < remaining ? written : remaining;
  }
  out.Flush();
  out.Close();
  // Marked even when shortened, so that the clean-up removes it.
  entry.extracted = true;
  return remaining == 0 ? kSetupOk : kFileError;
}

SetupError SfxArchive::ExtractAll() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].extracted) {
      continue;
    }
    if (ExtractEntry(static_cast<int>(i), extractFolder_) != kSetupOk) {
      archiveFile_.Close();
      return kFileError;
    }
  }
  return kSetupOk;
}

SetupError SfxArchive::ExtractPackageFiles() {
  if (HasFlag(kExternalFiles)) {
    return kSetupOk;
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    const uint32_t type = entries_[i].header.type;
    if (type != kMainPackage && type != kPackageCabinet && type != kPackageFile) {
      continue;
    }
    const SetupError result = ExtractEntry(static_cast<int>(i), extractFolder_);
    if (result != kSetupOk) {
      return result;
    }
  }
  return kSetupOk;
}

SetupError SfxArchive::ExtractByName(const std::string &name) {
  if (HasFlag(kExternalFiles)) {
    return kSetupOk;
  }
  return ExtractEntry(FindEntry(name), extractFolder_);
}

bool SfxArchive::ReadEntry(size_t index, uint32_t maxSize, base::Buffer<char> *data) {
  const ArchiveEntry &entry = entries_[index].header;
  return entry.size <= maxSize && data->Allocate(entry.size) &&
         archiveFile_.SeekFromBegin(entry.offset + static_cast<uint32_t>(offsetDelta_)) &&
         ReadExactly(archiveFile_, data->get(), entry.size);
}

void SfxArchive::DeleteExtractedFiles() {
  if (HasFlag(kExternalFiles)) {
    return;
  }
  for (const Entry &entry : entries_) {
    if (entry.extracted) {
      sys::DeleteFilePath(extractFolder_ + entry.name);
    }
  }
}

int SfxArchive::FindEntry(const std::string &name) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == name) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string SfxArchive::ModuleFolder() const {
  const size_t slash = sys::LastSeparator(modulePath_);
  return modulePath_.substr(0, slash == std::string::npos ? 0 : slash);
}

SetupError SfxArchive::SetModulePath(const std::string &path) {
  if (!path.empty()) {
    modulePath_ = path;
    return kSetupOk;
  }
#ifdef _WIN32
  return win::ModulePath(&modulePath_) ? kSetupOk : kPathUnavailable;
#else
  return kPathUnavailable;
#endif
}
