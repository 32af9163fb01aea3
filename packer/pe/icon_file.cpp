#include "packer/pe/icon_file.h"

#include "packer/byte_io.h"

namespace {

constexpr uint32_t kDirHeader = 6;
constexpr uint32_t kFileEntry = 16;
constexpr uint32_t kGroupEntry = 14;
constexpr uint32_t kBitmapHeader = 40;
const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

uint32_t Dimension(uint8_t value) { return value == 0 ? 256 : value; }

uint32_t BigEndian32(const std::string &s, size_t at) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(s[at])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(s[at + 2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(s[at + 3]));
}

bool CheckPng(const IconImage &image, std::string *problem) {
  const std::string &d = image.data;
  if (!bytes::Fits(d, 0, 24) || d.compare(12, 4, "IHDR") != 0 ||
      BigEndian32(d, 16) != Dimension(image.width) ||
      BigEndian32(d, 20) != Dimension(image.height)) {
    *problem = "has a PNG image whose size differs from its directory entry";
    return false;
  }
  return true;
}

// A bitmap icon image: header, colour table, colour rows and mask rows must all be there.
bool CheckBitmap(IconImage *image, std::string *problem) {
  const std::string &d = image->data;
  if (!bytes::Fits(d, 0, kBitmapHeader) || bytes::Get32(d, 0) != kBitmapHeader) {
    *problem = "has an image that is neither a bitmap nor a PNG";
    return false;
  }
  const uint32_t width = bytes::Get32(d, 4);
  const uint32_t height = bytes::Get32(d, 8);
  const uint32_t planes = bytes::Get16(d, 12);
  const uint32_t bits = bytes::Get16(d, 14);
  const uint32_t compression = bytes::Get32(d, 16);
  const uint32_t used = bytes::Get32(d, 32);
  if (width != Dimension(image->width) || height != 2 * Dimension(image->height) || planes != 1 ||
      compression != 0) {
    *problem = "has a bitmap whose size differs from its directory entry";
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    *problem = "has a bitmap of " + std::to_string(bits) + " bits per pixel";
    return false;
  }
  const uint64_t palette =
      bits <= 8 ? 4ull * (used != 0 && used < (1u << bits) ? used : 1u << bits) : 0;
  const uint64_t rows = Dimension(image->height);
  const uint64_t colour = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4 * rows;
  const uint64_t mask = (static_cast<uint64_t>(width) + 31) / 32 * 4 * rows;
  if (kBitmapHeader + palette + colour + mask > d.size()) {
    *problem = "has a bitmap whose pixels are cut short";
    return false;
  }
  image->planes = 1;
  image->bitCount = static_cast<uint16_t>(bits);
  return true;
}

} // namespace

bool ParseIconFile(const std::string &file, std::vector<IconImage> *images, std::string *problem) {
  images->clear();
  if (file.size() > kMaxIconFileSize) {
    *problem = "is larger than 4 MiB";
    return false;
  }
  if (!bytes::Fits(file, 0, kDirHeader) || bytes::Get16(file, 0) != 0 ||
      bytes::Get16(file, 2) != 1 || bytes::Get16(file, 4) == 0) {
    *problem = "is not an .ico file (no icon directory at its start)";
    return false;
  }
  const uint32_t count = bytes::Get16(file, 4);
  if (count > kMaxIconImages) {
    *problem = "has " + std::to_string(count) + " images; an icon holds at most " +
               std::to_string(kMaxIconImages);
    return false;
  }
  if (!bytes::Fits(file, kDirHeader, static_cast<uint64_t>(count) * kFileEntry)) {
    *problem = "is cut short inside its icon directory";
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = kDirHeader + i * kFileEntry;
    IconImage image;
    image.width = static_cast<uint8_t>(file[at]);
    image.height = static_cast<uint8_t>(file[at + 1]);
    image.colorCount = static_cast<uint8_t>(file[at + 2]);
    image.planes = bytes::Get16(file, at + 4);
    image.bitCount = bytes::Get16(file, at + 6);
    const uint32_t size = bytes::Get32(file, at + 8);
    const uint32_t offset = bytes::Get32(file, at + 12);
    if (size < 8 || !bytes::Fits(file, offset, size) || offset < kDirHeader + count * kFileEntry) {
      *problem = "has image " + std::to_string(i + 1) + " outside the file";
      return false;
    }
    image.data = file.substr(offset, size);
    const bool png = image.data.compare(0, 8, kPngSignature, 8) == 0;
    if (!(png ? CheckPng(image, problem) : CheckBitmap(&image, problem))) {
      *problem += " (image " + std::to_string(i + 1) + ")";
      return false;
    }
    images->push_back(image);
  }
  return true;
}

std::string BuildIconGroup(const std::vector<IconImage> &images, const std::vector<uint16_t> &ids) {
  std::string group;
  bytes::Append16(&group, 0);
  bytes::Append16(&group, 1);
  bytes::Append16(&group, static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage &image = images[i];
    group.push_back(static_cast<char>(image.width));
    group.push_back(static_cast<char>(image.height));
    group.push_back(static_cast<char>(image.colorCount));
    group.push_back('\0');
    bytes::Append16(&group, image.planes);
    bytes::Append16(&group, image.bitCount);
    bytes::Append32(&group, static_cast<uint32_t>(image.data.size()));
    bytes::Append16(&group, ids[i]);
  }
  return group;
}

std::vector<uint16_t> IconGroupIds(const std::string &group) {
  std::vector<uint16_t> ids;
  if (!bytes::Fits(group, 0, kDirHeader)) {
    return ids;
  }
  const uint32_t count = bytes::Get16(group, 4);
  for (uint32_t i = 0; i < count && bytes::Fits(group, kDirHeader + i * kGroupEntry, kGroupEntry);
       ++i) {
    ids.push_back(bytes::Get16(group, kDirHeader + i * kGroupEntry + 12));
  }
  return ids;
}
