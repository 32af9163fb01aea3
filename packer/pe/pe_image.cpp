#include "packer/pe/pe_image.h"

#include "packer/byte_io.h"

namespace {

constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kSubsystemGui = 2;
constexpr uint16_t kSubsystemConsole = 3;
constexpr uint16_t kFileExecutable = 0x0002;
constexpr uint16_t kFileDll = 0x2000;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kMinFileAlignment = 512;
constexpr uint32_t kMaxFileAlignment = 0x10000;
constexpr uint32_t kMaxSectionAlignment = 0x100000;
// A 32-bit image's addresses stay below 2 GiB; so does every address the packer computes.
constexpr uint64_t kMaxAddress = 0x80000000u;

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }
// An optional header up to its count of directories, the count included.
constexpr uint32_t MinOptionalSize(uint16_t magic) { return pe::DirectoryCountAt(magic) + 4; }

const unsigned char *Bytes(const std::string &s) {
  return reinterpret_cast<const unsigned char *>(s.data());
}

} // namespace

uint32_t PeImage::DirectoryRva(const std::string &file, uint32_t index) const {
  return index < directoryCount ? bytes::Get32(file, DirectoryAt(index)) : 0;
}

uint32_t PeImage::DirectorySize(const std::string &file, uint32_t index) const {
  return index < directoryCount ? bytes::Get32(file, DirectoryAt(index) + 4) : 0;
}

uint64_t PeImage::RawEnd() const {
  uint64_t end = 0;
  for (const PeSection &s : sections) {
    if (s.rawSize > 0 && static_cast<uint64_t>(s.rawPointer) + s.rawSize > end) {
      end = static_cast<uint64_t>(s.rawPointer) + s.rawSize;
    }
  }
  return end;
}

bool ReadStubHeaders(const std::string &file, PeImage *image, std::string *problem) {
  *image = PeImage();
  pe::FileHeader header;
  if (!pe::ReadHeadersOffset(Bytes(file), file.size(), &image->peAt) || image->peAt > file.size() ||
      !pe::ReadFileHeader(Bytes(file) + image->peAt, file.size() - image->peAt, &header)) {
    *problem = "is not a Windows program";
    return false;
  }
  image->machine = header.machine;
  const uint32_t sectionCount = header.sectionCount;
  const uint32_t optionalSize = header.optionalSize;
  image->characteristics = header.characteristics;
  image->optionalAt = image->peAt + pe::kFileHeadersSize;
  if (optionalSize < MinOptionalSize(pe::kMagicPe32) ||
      !bytes::Fits(file, image->optionalAt, optionalSize)) {
    *problem = "is not a Windows program (its headers are cut short)";
    return false;
  }
  image->magic = bytes::Get16(file, image->optionalAt);
  if (!(image->machine == kMachineI386 && image->magic == pe::kMagicPe32) &&
      !(image->machine == kMachineAmd64 && image->magic == pe::kMagicPe32Plus)) {
    *problem = "is not an x86 or x86-64 Windows program";
    return false;
  }
  const uint32_t minOptionalSize = MinOptionalSize(image->magic);
  if (optionalSize < minOptionalSize) {
    *problem = "is not a Windows program (its headers are cut short)";
    return false;
  }
  if ((image->characteristics & kFileDll) != 0 || (image->characteristics & kFileExecutable) == 0) {
    *problem = "is a library, not a Windows program";
    return false;
  }
  image->subsystem = bytes::Get16(file, image->optionalAt + 68);
  if (image->subsystem != kSubsystemGui) {
    *problem = image->subsystem == kSubsystemConsole
                   ? "is a console program; the stub is a Windows GUI program"
                   : "is not a Windows GUI program";
    return false;
  }
  image->sectionAlignment = bytes::Get32(file, image->optionalAt + 32);
  image->fileAlignment = bytes::Get32(file, image->optionalAt + 36);
  // Sizes are rounded to these in 32 bits: only the format's own values are taken.
  if (!IsPowerOfTwo(image->fileAlignment) || image->fileAlignment < kMinFileAlignment ||
      image->fileAlignment > kMaxFileAlignment || !IsPowerOfTwo(image->sectionAlignment) ||
      image->sectionAlignment < image->fileAlignment ||
      image->sectionAlignment > kMaxSectionAlignment) {
    *problem = "is damaged: its file alignment " + std::to_string(image->fileAlignment) +
               " or section alignment " + std::to_string(image->sectionAlignment) +
               " is none a Windows program can have";
    return false;
  }
  image->directoryCount = bytes::Get32(file, image->optionalAt + minOptionalSize - 4);
  image->directoriesAt = image->optionalAt + minOptionalSize;
  if (image->directoryCount > (optionalSize - minOptionalSize) / pe::kDirectoryEntrySize) {
    image->directoryCount = (optionalSize - minOptionalSize) / pe::kDirectoryEntrySize;
  }
  const uint32_t tableAt = image->optionalAt + optionalSize;
  if (!bytes::Fits(file, tableAt, static_cast<uint64_t>(sectionCount) * kSectionHeaderSize)) {
    *problem = "is not a Windows program (its section table is cut short)";
    return false;
  }
  image->headersEnd = tableAt + sectionCount * kSectionHeaderSize;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    const uint32_t at = tableAt + i * kSectionHeaderSize;
    PeSection section;
    section.name = file.substr(at, 8).c_str();
    section.virtualSize = bytes::Get32(file, at + 8);
    section.virtualAddress = bytes::Get32(file, at + 12);
    section.rawSize = bytes::Get32(file, at + 16);
    section.rawPointer = bytes::Get32(file, at + 20);
    section.headerAt = at;
    if (section.rawSize > 0 && !bytes::Fits(file, section.rawPointer, section.rawSize)) {
      *problem = "is cut short (section " + section.name + " lies past its end)";
      return false;
    }
    // The packer writes the headers in front of the data it copies: data among them is none.
    if (section.rawSize > 0 && section.rawPointer < image->headersEnd) {
      *problem = "is damaged: the data of section " + section.name + " starts inside its headers";
      return false;
    }
    const uint32_t extent =
        section.virtualSize > section.rawSize ? section.virtualSize : section.rawSize;
    if (static_cast<uint64_t>(section.virtualAddress) + extent > kMaxAddress) {
      *problem = "is damaged: section " + section.name + " lies beyond 2 GiB of addresses";
      return false;
    }
    image->sections.push_back(section);
  }
  return true;
}

bool DropSignature(std::string *file, const PeImage &image, bool *dropped, std::string *problem) {
  // For this directory the first field is a file offset, not an address.
  const uint32_t tableAt = image.DirectoryRva(*file, pe::kDirSecurity);
  *dropped = tableAt != 0 || image.DirectorySize(*file, pe::kDirSecurity) != 0;
  if (!*dropped) {
    return true;
  }
  // Cutting the file there would cut the headers whose entry is cleared next.
  if (tableAt < image.headersEnd) {
    *problem = "names a certificate table inside its headers";
    return false;
  }
  if (tableAt < image.RawEnd()) {
    *problem = "names a certificate table inside its sections";
    return false;
  }
  if (tableAt < file->size()) {
    file->resize(tableAt);
  }
  bytes::Put32(file, image.DirectoryAt(pe::kDirSecurity), 0);
  bytes::Put32(file, image.DirectoryAt(pe::kDirSecurity) + 4, 0);
  return true;
}

bool FindResourceSection(const std::string &file, const PeImage &image, size_t *index,
                         std::string *problem) {
  const uint32_t rva = image.DirectoryRva(file, pe::kDirResource);
  for (size_t i = 0; rva != 0 && i < image.sections.size(); ++i) {
    if (image.sections[i].virtualAddress == rva && image.sections[i].rawSize > 0) {
      *index = i;
      return true;
    }
  }
  *problem = "has no resource section of its own";
  return false;
}

bool ReplaceResourceSection(const std::string &file, const PeImage &image, size_t index,
                            const std::string &section, std::string *result, std::string *problem) {
  const PeSection &rsrc = image.sections[index];
  if (image.RawEnd() != file.size() || image.DirectorySize(file, pe::kDirSecurity) != 0) {
    *problem = "carries data after its last section; give the stub as it was built";
    return false;
  }
  // Only the relocations may follow the resources: nothing refers to where they lie.
  const uint32_t relocRva = image.DirectoryRva(file, pe::kDirBaseReloc);
  const PeSection *reloc = nullptr;
  for (size_t i = 0; i < image.sections.size(); ++i) {
    const PeSection &s = image.sections[i];
    const bool after = s.virtualAddress > rsrc.virtualAddress || s.rawPointer > rsrc.rawPointer;
    if (i == index || !after) {
      continue;
    }
    if (reloc != nullptr || relocRva < s.virtualAddress ||
        relocRva >= s.virtualAddress + s.virtualSize || s.rawPointer < rsrc.rawPointer) {
      *problem = "has sections after its resources that cannot be moved";
      return false;
    }
    reloc = &s;
  }

  const uint32_t newRaw =
      bytes::AlignUp(static_cast<uint32_t>(section.size()), image.fileAlignment);
  std::string out = file.substr(0, rsrc.rawPointer);
  out += section;
  out.resize(out.size() + (newRaw - section.size()), '\0');
  bytes::Put32(&out, rsrc.headerAt + 8, static_cast<uint32_t>(section.size()));
  bytes::Put32(&out, rsrc.headerAt + 16, newRaw);
  bytes::Put32(&out, image.DirectoryAt(pe::kDirResource) + 4,
               static_cast<uint32_t>(section.size()));
  // In 64 bits: the sections that move must still end below 2 GiB of addresses.
  const uint64_t alignment = image.sectionAlignment;
  uint64_t end = static_cast<uint64_t>(rsrc.virtualAddress) + section.size();
  if (reloc != nullptr) {
    const uint64_t va = (end + alignment - 1) / alignment * alignment;
    bytes::Put32(&out, reloc->headerAt + 12, static_cast<uint32_t>(va));
    bytes::Put32(&out, reloc->headerAt + 20, static_cast<uint32_t>(out.size()));
    bytes::Put32(&out, image.DirectoryAt(pe::kDirBaseReloc),
                 static_cast<uint32_t>(va + (relocRva - reloc->virtualAddress)));
    out += file.substr(reloc->rawPointer, reloc->rawSize);
    end = va + reloc->virtualSize;
  }
  end = (end + alignment - 1) / alignment * alignment;
  if (end > kMaxAddress) {
    *problem = "would lie beyond 2 GiB of addresses with its new resources";
    return false;
  }
  const uint32_t initialized = bytes::Get32(out, image.optionalAt + 8);
  bytes::Put32(&out, image.optionalAt + 8, initialized - rsrc.rawSize + newRaw);
  bytes::Put32(&out, image.optionalAt + 56, static_cast<uint32_t>(end));
  *result = out;
  return true;
}
