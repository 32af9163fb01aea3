// A PE resource section as a tree (type, name, language -> data), read from a stub and written
// back after the packer has replaced some of its leaves.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtRcData = 10;
constexpr uint16_t kRtGroupIcon = 14;
constexpr uint16_t kRtVersion = 16;

// A directory entry's identity: a number, or a name (UTF-16 units).
struct ResourceId {
  bool named = false;
  uint16_t number = 0;
  std::u16string name;

  static ResourceId Number(uint16_t number);
  static ResourceId Name(const std::string &ascii);
  bool operator==(const ResourceId &other) const;
};

struct ResourceLeaf {
  ResourceId language;
  uint32_t codePage = 0;
  std::string data;
};

struct ResourceItem {
  ResourceId id;
  std::vector<ResourceLeaf> languages;
};

struct ResourceType {
  ResourceId id;
  std::vector<ResourceItem> items;
};

struct ResourceTree {
  std::vector<ResourceType> types;

  ResourceType *FindType(const ResourceId &id);
  ResourceItem *FindItem(const ResourceId &type, const ResourceId &item);
  // The item's entry, made (empty) when missing.
  ResourceItem &Item(const ResourceId &type, const ResourceId &item);
  void RemoveItem(const ResourceId &type, const ResourceId &item);
};

// Reads the tree from a resource section whose directory starts at section[0]; sectionRva is
// the section's address in the loaded image (data entries hold addresses, not offsets). False
// with *problem set for anything that does not fit the three-level layout or the section.
bool ParseResourceSection(const std::string &section, uint32_t sectionRva, ResourceTree *tree,
                          std::string *problem);

// The section bytes for tree placed at sectionRva: directories (named entries first, sorted
// as the loader's binary search expects), data entries, names, then the data, 8-byte aligned.
std::string BuildResourceSection(const ResourceTree &tree, uint32_t sectionRva);
