#include "packer/pe/resource_tree.h"

#include <algorithm>

#include "base/text.h"
#include "packer/byte_io.h"

namespace {

constexpr uint32_t kDirectorySize = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;
// Directories and entries at every level count against one limit: directories shared by many
// entries cannot expand a small section into millions of items.
constexpr uint32_t kMaxNodes = 8192;
constexpr uint64_t kMaxCopied = 64u << 20;
// Names shared by many entries are read once for each: their characters count against one limit.
constexpr uint64_t kMaxNameUnits = 1u << 20;

// The loader compares names without regard to case; entries are kept in that order.
bool NameBefore(const std::u16string &a, const std::u16string &b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (text::UpperAscii(a[i]) != text::UpperAscii(b[i])) {
      return text::UpperAscii(a[i]) < text::UpperAscii(b[i]);
    }
  }
  return a.size() < b.size();
}

bool IdBefore(const ResourceId &a, const ResourceId &b) {
  if (a.named != b.named) {
    return a.named;
  }
  return a.named ? NameBefore(a.name, b.name) : a.number < b.number;
}

class Reader {
public:
  Reader(const std::string &section, uint32_t rva, std::string *problem)
      : s_(section), rva_(rva), problem_(problem) {}

  bool Fail(const std::string &why) {
    *problem_ = "its resource section is damaged: " + why;
    return false;
  }

  bool ReadId(uint32_t raw, ResourceId *id) {
    if ((raw & kHighBit) == 0) {
      if (raw > 0xFFFF) {
        return Fail("a resource number is out of range");
      }
      *id = ResourceId::Number(static_cast<uint16_t>(raw));
      return true;
    }
    const uint32_t at = raw & ~kHighBit;
    if (!bytes::Fits(s_, at, 2) || !bytes::Fits(s_, at + 2, 2ull * bytes::Get16(s_, at))) {
      return Fail("a resource name lies outside the section");
    }
    const uint32_t length = bytes::Get16(s_, at);
    nameUnits_ += length;
    if (nameUnits_ > kMaxNameUnits) {
      return Fail("it holds too many resources");
    }
    id->named = true;
    id->name.clear();
    for (uint32_t i = 0; i < length; ++i) {
      id->name.push_back(static_cast<char16_t>(bytes::Get16(s_, at + 2 + 2 * i)));
    }
    return true;
  }

  // Entries of the directory at offset: (id, raw target) pairs.
  bool ReadDirectory(uint32_t at, std::vector<std::pair<ResourceId, uint32_t>> *entries) {
    if (!bytes::Fits(s_, at, kDirectorySize)) {
      return Fail("a directory lies outside the section");
    }
    const uint32_t count = bytes::Get16(s_, at + 12) + bytes::Get16(s_, at + 14);
    nodes_ += 1 + count;
    if (nodes_ > kMaxNodes) {
      return Fail("it holds too many resources");
    }
    if (!bytes::Fits(s_, at + kDirectorySize, static_cast<uint64_t>(count) * kEntrySize)) {
      return Fail("a directory's entries lie outside the section");
    }
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t e = at + kDirectorySize + i * kEntrySize;
      ResourceId id;
      if (!ReadId(bytes::Get32(s_, e), &id)) {
        return false;
      }
      entries->emplace_back(id, bytes::Get32(s_, e + 4));
    }
    return true;
  }

  bool ReadLeaf(uint32_t target, ResourceLeaf *leaf) {
    if ((target & kHighBit) != 0 || !bytes::Fits(s_, target, kDataEntrySize)) {
      return Fail("a language entry does not point at data");
    }
    const uint32_t rva = bytes::Get32(s_, target);
    const uint32_t size = bytes::Get32(s_, target + 4);
    if (rva < rva_ || !bytes::Fits(s_, rva - rva_, size)) {
      return Fail("resource data lies outside the section");
    }
    // Shared data entries could make a small section expand into a huge copy.
    copied_ += size;
    if (copied_ > kMaxCopied) {
      return Fail("it holds too many resources");
    }
    leaf->data = s_.substr(rva - rva_, size);
    leaf->codePage = bytes::Get32(s_, target + 8);
    return true;
  }

  bool Subdirectory(uint32_t target, uint32_t *at) {
    if ((target & kHighBit) == 0) {
      return Fail("a type or name entry does not point at a directory");
    }
    *at = target & ~kHighBit;
    return true;
  }

  bool Read(ResourceTree *tree) {
    std::vector<std::pair<ResourceId, uint32_t>> types;
    if (!ReadDirectory(0, &types)) {
      return false;
    }
    for (const auto &t : types) {
      ResourceType type;
      type.id = t.first;
      std::vector<std::pair<ResourceId, uint32_t>> items;
      uint32_t at = 0;
      if (!Subdirectory(t.second, &at) || !ReadDirectory(at, &items)) {
        return false;
      }
      for (const auto &n : items) {
        ResourceItem item;
        item.id = n.first;
        std::vector<std::pair<ResourceId, uint32_t>> languages;
        if (!Subdirectory(n.second, &at) || !ReadDirectory(at, &languages)) {
          return false;
        }
        for (const auto &l : languages) {
          ResourceLeaf leaf;
          leaf.language = l.first;
          if (!ReadLeaf(l.second, &leaf)) {
            return false;
          }
          item.languages.push_back(leaf);
        }
        type.items.push_back(item);
      }
      tree->types.push_back(type);
    }
    return true;
  }

private:
  const std::string &s_;
  uint32_t rva_;
  std::string *problem_;
  uint32_t nodes_ = 0;
  uint64_t copied_ = 0;
  uint64_t nameUnits_ = 0;
};

template <typename T> std::vector<const T *> Sorted(const std::vector<T> &list) {
  std::vector<const T *> sorted;
  for (const T &x : list) {
    sorted.push_back(&x);
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const T *a, const T *b) { return IdBefore(a->id, b->id); });
  return sorted;
}

const ResourceId &IdOf(const ResourceLeaf *leaf) { return leaf->language; }
template <typename T> const ResourceId &IdOf(const T *x) { return x->id; }

// Writes the tree in three passes: sizes are known up front, so every offset is computed once.
class Writer {
public:
  Writer(const ResourceTree &tree, uint32_t rva) : tree_(tree), rva_(rva) {}

  std::string Build() {
    // Directory offsets: root, then one per type, then one per item.
    uint32_t dirBytes = Directory(tree_.types.size());
    uint32_t leafCount = 0;
    for (const ResourceType &type : tree_.types) {
      dirBytes += Directory(type.items.size());
      for (const ResourceItem &item : type.items) {
        dirBytes += Directory(item.languages.size());
        leafCount += static_cast<uint32_t>(item.languages.size());
      }
    }
    const uint32_t dataEntriesAt = dirBytes;
    uint32_t namesAt = dataEntriesAt + leafCount * kDataEntrySize;
    out_.assign(namesAt, '\0');
    names_.clear();
    namesAt_ = namesAt;

    const auto types = Sorted(tree_.types);
    uint32_t nextDir = Directory(types.size());
    std::vector<uint32_t> typeDirs;
    for (const ResourceType *type : types) {
      typeDirs.push_back(nextDir);
      nextDir += Directory(type->items.size());
    }
    WriteDirectory(0, types, typeDirs, true);
    uint32_t nextLeaf = dataEntriesAt;
    std::vector<std::pair<uint32_t, const ResourceLeaf *>> leaves;
    for (size_t t = 0; t < types.size(); ++t) {
      const auto items = Sorted(types[t]->items);
      std::vector<uint32_t> itemDirs;
      for (const ResourceItem *item : items) {
        itemDirs.push_back(nextDir);
        nextDir += Directory(item->languages.size());
      }
      WriteDirectory(typeDirs[t], items, itemDirs, true);
      for (size_t n = 0; n < items.size(); ++n) {
        std::vector<const ResourceLeaf *> languages;
        for (const ResourceLeaf &leaf : items[n]->languages) {
          languages.push_back(&leaf);
        }
        std::stable_sort(languages.begin(), languages.end(),
                         [](const ResourceLeaf *a, const ResourceLeaf *b) {
                           return IdBefore(a->language, b->language);
                         });
        std::vector<uint32_t> leafEntries;
        for (const ResourceLeaf *leaf : languages) {
          leafEntries.push_back(nextLeaf);
          leaves.emplace_back(nextLeaf, leaf);
          nextLeaf += kDataEntrySize;
        }
        WriteDirectory(itemDirs[n], languages, leafEntries, false);
      }
    }
    out_ += names_;
    for (const auto &entry : leaves) {
      bytes::PadTo(&out_, 8);
      bytes::Put32(&out_, entry.first, rva_ + static_cast<uint32_t>(out_.size()));
      bytes::Put32(&out_, entry.first + 4, static_cast<uint32_t>(entry.second->data.size()));
      bytes::Put32(&out_, entry.first + 8, entry.second->codePage);
      out_ += entry.second->data;
    }
    bytes::PadTo(&out_, 8);
    return out_;
  }

private:
  static uint32_t Directory(size_t entries) {
    return kDirectorySize + static_cast<uint32_t>(entries) * kEntrySize;
  }

  uint32_t NameOffset(const std::u16string &name) {
    const uint32_t at = namesAt_ + static_cast<uint32_t>(names_.size());
    bytes::Append16(&names_, static_cast<uint32_t>(name.size()));
    for (char16_t c : name) {
      bytes::Append16(&names_, c);
    }
    bytes::PadTo(&names_, 2);
    return at;
  }

  template <typename T>
  void WriteDirectory(uint32_t at, const std::vector<const T *> &entries,
                      const std::vector<uint32_t> &targets, bool subdirectories) {
    uint32_t named = 0;
    for (const T *e : entries) {
      named += IdOf(e).named ? 1 : 0;
    }
    bytes::Put16(&out_, at + 12, named);
    bytes::Put16(&out_, at + 14, static_cast<uint32_t>(entries.size()) - named);
    for (size_t i = 0; i < entries.size(); ++i) {
      const ResourceId &id = IdOf(entries[i]);
      const uint32_t e = at + kDirectorySize + static_cast<uint32_t>(i) * kEntrySize;
      bytes::Put32(&out_, e, id.named ? (NameOffset(id.name) | kHighBit) : id.number);
      bytes::Put32(&out_, e + 4, subdirectories ? (targets[i] | kHighBit) : targets[i]);
    }
  }

  const ResourceTree &tree_;
  uint32_t rva_;
  std::string out_;
  std::string names_;
  uint32_t namesAt_ = 0;
};

} // namespace

ResourceId ResourceId::Number(uint16_t number) {
  ResourceId id;
  id.number = number;
  return id;
}

ResourceId ResourceId::Name(const std::string &ascii) {
  ResourceId id;
  id.named = true;
  id.name.assign(ascii.begin(), ascii.end());
  return id;
}

bool ResourceId::operator==(const ResourceId &other) const {
  if (named != other.named) {
    return false;
  }
  if (!named) {
    return number == other.number;
  }
  return !NameBefore(name, other.name) && !NameBefore(other.name, name);
}

ResourceType *ResourceTree::FindType(const ResourceId &id) {
  for (ResourceType &type : types) {
    if (type.id == id) {
      return &type;
    }
  }
  return nullptr;
}

ResourceItem *ResourceTree::FindItem(const ResourceId &type, const ResourceId &item) {
  ResourceType *t = FindType(type);
  if (t == nullptr) {
    return nullptr;
  }
  for (ResourceItem &i : t->items) {
    if (i.id == item) {
      return &i;
    }
  }
  return nullptr;
}

ResourceItem &ResourceTree::Item(const ResourceId &type, const ResourceId &item) {
  if (ResourceItem *found = FindItem(type, item)) {
    return *found;
  }
  ResourceType *t = FindType(type);
  if (t == nullptr) {
    types.push_back(ResourceType());
    t = &types.back();
    t->id = type;
  }
  t->items.push_back(ResourceItem());
  t->items.back().id = item;
  return t->items.back();
}

void ResourceTree::RemoveItem(const ResourceId &type, const ResourceId &item) {
  ResourceType *t = FindType(type);
  if (t == nullptr) {
    return;
  }
  t->items.erase(std::remove_if(t->items.begin(), t->items.end(),
                                [&item](const ResourceItem &i) { return i.id == item; }),
                 t->items.end());
  if (t->items.empty()) {
    types.erase(types.begin() + (t - types.data()));
  }
}

bool ParseResourceSection(const std::string &section, uint32_t sectionRva, ResourceTree *tree,
                          std::string *problem) {
  tree->types.clear();
  return Reader(section, sectionRva, problem).Read(tree);
}

std::string BuildResourceSection(const ResourceTree &tree, uint32_t sectionRva) {
  return Writer(tree, sectionRva).Build();
}
