// A vendor's .ico file, checked and turned into the resources of an icon group.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct IconImage {
  uint8_t width = 0; // 0 means 256
  uint8_t height = 0;
  uint8_t colorCount = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  std::string data; // a BITMAPINFOHEADER-based image or a PNG, as in the file
};

constexpr size_t kMaxIconFileSize = 4u << 20;
// Real icons hold a few sizes and depths each; a directory far beyond that is no icon worth
// carrying, and every image costs the setup a resource.
constexpr uint32_t kMaxIconImages = 256;

// Reads an .ico file's bytes. False, with *problem (completing "the icon 'x' ..."), for
// anything that is not an icon: a wrong header, images outside the file, image data that is
// neither a bitmap of the size the directory says nor a PNG, more than kMaxIconImages images.
bool ParseIconFile(const std::string &file, std::vector<IconImage> *images, std::string *problem);

// The group resource (RT_GROUP_ICON) for images stored as RT_ICON resources with ids.
std::string BuildIconGroup(const std::vector<IconImage> &images, const std::vector<uint16_t> &ids);

// The RT_ICON ids a group resource refers to.
std::vector<uint16_t> IconGroupIds(const std::string &group);
