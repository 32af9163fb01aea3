// The headers of a Windows program, read by the packer to recognise a stub and to put a new
// resource section into it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "archive/pe_headers.h"

struct PeSection {
  std::string name;
  uint32_t virtualSize = 0;
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawPointer = 0;
  uint32_t headerAt = 0; // file offset of this section's header
};

struct PeImage {
  uint32_t peAt = 0;       // "PE\0\0"
  uint32_t optionalAt = 0; // the optional header
  uint16_t machine = 0;
  uint16_t characteristics = 0;
  uint16_t magic = 0; // pe::kMagicPe32 or, for an x86-64 image, pe::kMagicPe32Plus
  uint16_t subsystem = 0;
  uint32_t sectionAlignment = 0;
  uint32_t fileAlignment = 0;
  uint32_t directoryCount = 0;
  uint32_t directoriesAt = 0; // the first directory entry, after the count
  uint32_t headersEnd = 0;    // the end of the section table
  std::vector<PeSection> sections;

  uint32_t DirectoryRva(const std::string &file, uint32_t index) const;
  uint32_t DirectorySize(const std::string &file, uint32_t index) const;
  uint32_t DirectoryAt(uint32_t index) const {
    return directoriesAt + index * pe::kDirectoryEntrySize;
  }
  // Where the raw data of the last section ends.
  uint64_t RawEnd() const;
};

// Reads an x86 (PE32) or x86-64 (PE32+) image's headers and section table; false with *problem
// (a phrase completing "the stub 'x' ...") when file is no Windows program or no GUI program
// for either, or when a field the packer uses is out of the format's limits: alignments that
// are no powers of two from 512 bytes (file) up to 64 KiB (file) or 1 MiB (sections), a
// section's data inside the headers or past the end, a section beyond 2 GiB of addresses. The setup
// ships as the x86 build; the x86-64 build of the same sources packs alike, which lets it be tested
// whole where no 32-bit program can run.
bool ReadStubHeaders(const std::string &file, PeImage *image, std::string *problem);

// A stub signed on its own, or a signed setup given with --replace (cut where its archive
// began), still names a certificate table in its headers. No such signature can cover the
// setup being packed, and a stale one makes that setup's signature read as corrupt: the table
// is cut off and its directory entry cleared (*dropped says whether there was one). False with
// *problem when the table lies inside the headers or the sections.
bool DropSignature(std::string *file, const PeImage &image, bool *dropped, std::string *problem);

// The bytes of the resource section (directory at its start) and its address; false with
// *problem when the image has none.
bool FindResourceSection(const std::string &file, const PeImage &image, size_t *index,
                         std::string *problem);

// file with its resource section replaced by section (built for the same address): the
// section is resized, a base-relocation section that follows it is moved along, and the
// image size and directories are updated. Only such a layout is rewritten; anything else
// after the resources (or data after the last section, such as a signature) gives false.
bool ReplaceResourceSection(const std::string &file, const PeImage &image, size_t index,
                            const std::string &section, std::string *result, std::string *problem);
