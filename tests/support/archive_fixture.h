// Builds setup files in a scratch folder: stub bytes, entry data, table and footer, with knobs
// for the damage the reader must survive.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/archive_format.h"
#include "tests/support/scratch_folder.h"

struct FixtureEntry {
  uint32_t type;
  std::string name;
  std::string data;
};

struct FixtureLayout {
  uint32_t stubSize = 5000;
  uint32_t flags = 0;
  uint32_t version = kArchiveVersion;
  std::string tail;  // bytes after the footer
  uint32_t lead = 0; // bytes in front of the whole file, as if the stub grew after packing
};

inline std::string ReadWholeFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Returns the bytes of a setup whose recorded offsets are as the builder writes them.
inline std::string BuildSetupBytes(const std::vector<FixtureEntry> &entries,
                                   const FixtureLayout &layout) {
  std::string out(layout.stubSize, 'S');
  std::vector<ArchiveEntry> headers;
  for (const FixtureEntry &e : entries) {
    ArchiveEntry h;
    h.type = e.type;
    h.size = static_cast<uint32_t>(e.data.size());
    h.offset = static_cast<uint32_t>(out.size());
    h.nameLength = static_cast<uint32_t>(e.name.size());
    headers.push_back(h);
    out += e.data;
  }
  ArchiveFooter footer;
  footer.entryCount = static_cast<uint32_t>(entries.size());
  footer.version = layout.version;
  footer.entryTableOffset = static_cast<uint32_t>(out.size());
  footer.dataOffset = layout.stubSize;
  footer.flags = layout.flags;
  for (size_t i = 0; i < entries.size(); ++i) {
    unsigned char raw[kEntryHeaderSize];
    EncodeEntryHeader(headers[i], raw);
    out.append(reinterpret_cast<char *>(raw), kEntryHeaderSize);
    out += entries[i].name;
  }
  footer.footerOffset = static_cast<uint32_t>(out.size());
  for (size_t i = 0; i < kMagicSize; ++i) {
    footer.magic[i] = kArchiveMagic[i];
  }
  unsigned char raw[kFooterSize];
  EncodeFooter(footer, raw);
  out.append(reinterpret_cast<char *>(raw), kFooterSize);
  out += layout.tail;
  return std::string(layout.lead, 'L') + out;
}

inline void WriteWholeFile(const std::string &path, const std::string &bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
