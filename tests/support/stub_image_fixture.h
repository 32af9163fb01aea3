// Small Windows programs and icons for the packer's tests on the host: a 32-bit GUI image with
// a code section, a resource section (the stub's marker, a version block, icon group 128) and
// the relocations after it, laid out as the linker lays out the real stub.
#pragma once
#include <cstdint>
#include <string>

#include "packer/byte_io.h"
#include "packer/pe/icon_file.h"
#include "packer/pe/resource_tree.h"
#include "packer/pe/setup_branding.h"
#include "packer/pe/version_info.h"

namespace stub_fixture {

struct StubRecipe {
  bool marker = true;
  uint32_t markerVersion = 100;
  uint16_t machine = 0x14C;
  uint16_t magic = 0x10B;
  uint16_t subsystem = 2;
  uint16_t characteristics = 0x0102;
  std::string code = std::string(300, '\xC3'); // the code section's bytes
};

// A 32-bit, 32 bits-per-pixel .ico of one square image filled with argb.
inline std::string MakeIcon(uint8_t size, uint32_t argb) {
  const uint32_t n = size;
  std::string image(40, '\0');
  bytes::Put32(&image, 0, 40);
  bytes::Put32(&image, 4, n);
  bytes::Put32(&image, 8, 2 * n);
  bytes::Put16(&image, 12, 1);
  bytes::Put16(&image, 14, 32);
  for (uint32_t i = 0; i < n * n; ++i) {
    bytes::Append32(&image, argb);
  }
  image.append((n + 31) / 32 * 4 * n, '\0');
  std::string file;
  bytes::Append16(&file, 0);
  bytes::Append16(&file, 1);
  bytes::Append16(&file, 1);
  file.push_back(static_cast<char>(size));
  file.push_back(static_cast<char>(size));
  file.append(2, '\0');
  bytes::Append16(&file, 1);
  bytes::Append16(&file, 32);
  bytes::Append32(&file, static_cast<uint32_t>(image.size()));
  bytes::Append32(&file, 22);
  return file + image;
}

inline std::string VersionBlock() {
  VersionNode root;
  root.key = u"VS_VERSION_INFO";
  root.value.assign(52, '\0');
  bytes::Put32(&root.value, 0, 0xFEEF04BD);
  root.valueLength = 52;
  SetVersionString(&root, "FileDescription", {'S', 'e', 't', 'u', 'p'});
  SetVersionString(&root, "ProductName", {'T'});
  return BuildVersionInfo(root);
}

inline ResourceTree StubResources(const StubRecipe &recipe) {
  ResourceTree tree;
  std::vector<IconImage> images;
  std::string problem;
  ParseIconFile(MakeIcon(16, 0xFF102030), &images, &problem);
  ResourceLeaf leaf;
  leaf.language = ResourceId::Number(0x409);
  leaf.data = images[0].data;
  tree.Item(ResourceId::Number(kRtIcon), ResourceId::Number(1)).languages = {leaf};
  leaf.data = BuildIconGroup(images, {1});
  tree.Item(ResourceId::Number(kRtGroupIcon), ResourceId::Number(128)).languages = {leaf};
  leaf.data = VersionBlock();
  tree.Item(ResourceId::Number(kRtVersion), ResourceId::Number(1)).languages = {leaf};
  if (recipe.marker) {
    leaf.data.assign(4, '\0');
    bytes::Put32(&leaf.data, 0, recipe.markerVersion);
    tree.Item(ResourceId::Number(kRtRcData), ResourceId::Name(kStubMarkerName)).languages = {leaf};
  }
  return tree;
}

inline std::string MakeStub(const StubRecipe &recipe = StubRecipe()) {
  const uint32_t fileAlign = 0x200;
  const uint32_t sectionAlign = 0x1000;
  const std::string code = recipe.code;
  const std::string rsrc = BuildResourceSection(
      StubResources(recipe),
      0x1000 +
          sectionAlign * ((static_cast<uint32_t>(code.size()) + sectionAlign - 1) / sectionAlign));
  const std::string reloc("\x00\x10\x00\x00\x0C\x00\x00\x00\x00\x30\x00\x00", 12);
  struct Sec {
    const char *name;
    std::string data;
    uint32_t va = 0, raw = 0;
  } secs[3] = {{".text", code}, {".rsrc", rsrc}, {".reloc", reloc}};
  uint32_t va = 0x1000;
  uint32_t raw = 0x400;
  for (Sec &s : secs) {
    s.va = va;
    s.raw = raw;
    va += bytes::AlignUp(static_cast<uint32_t>(s.data.size()), sectionAlign);
    raw += bytes::AlignUp(static_cast<uint32_t>(s.data.size()), fileAlign);
  }
  std::string file(0x400, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  bytes::Put32(&file, 60, 0x40);
  file.replace(0x40, 4, std::string("PE\0\0", 4));
  bytes::Put16(&file, 0x44, recipe.machine);
  bytes::Put16(&file, 0x46, 3);
  bytes::Put16(&file, 0x54, 224);
  bytes::Put16(&file, 0x56, recipe.characteristics);
  const size_t opt = 0x58;
  bytes::Put16(&file, opt, recipe.magic);
  bytes::Put32(&file, opt + 16, 0x1000);
  bytes::Put32(&file, opt + 28, 0x400000);
  bytes::Put32(&file, opt + 32, sectionAlign);
  bytes::Put32(&file, opt + 36, fileAlign);
  bytes::Put16(&file, opt + 40, 4);
  bytes::Put16(&file, opt + 48, 4);
  bytes::Put32(&file, opt + 56, va);
  bytes::Put32(&file, opt + 60, 0x400);
  bytes::Put16(&file, opt + 68, recipe.subsystem);
  bytes::Put32(&file, opt + 92, 16);
  bytes::Put32(&file, opt + 96 + 2 * 8, secs[1].va);
  bytes::Put32(&file, opt + 96 + 2 * 8 + 4, static_cast<uint32_t>(rsrc.size()));
  bytes::Put32(&file, opt + 96 + 5 * 8, secs[2].va);
  bytes::Put32(&file, opt + 96 + 5 * 8 + 4, static_cast<uint32_t>(reloc.size()));
  for (size_t i = 0; i < 3; ++i) {
    const size_t h = opt + 224 + 40 * i;
    file.replace(h, std::string(secs[i].name).size(), secs[i].name);
    bytes::Put32(&file, h + 8, static_cast<uint32_t>(secs[i].data.size()));
    bytes::Put32(&file, h + 12, secs[i].va);
    bytes::Put32(&file, h + 16,
                 bytes::AlignUp(static_cast<uint32_t>(secs[i].data.size()), fileAlign));
    bytes::Put32(&file, h + 20, secs[i].raw);
  }
  for (const Sec &s : secs) {
    file += s.data;
    bytes::PadTo(&file, fileAlign);
  }
  return file;
}

// The first bytes of a Windows Installer package and of a cabinet, then filler.
inline std::string CompoundFile(const std::string &rest) {
  return std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + rest;
}
inline std::string Cabinet(const std::string &rest) { return "MSCF" + rest; }

} // namespace stub_fixture
