#include "packer/pe/version_info.h"

#include "packer/byte_io.h"

namespace {

constexpr uint32_t kHeader = 6;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kMaxDepth = 8;

std::u16string Key(const std::string &ascii) { return std::u16string(ascii.begin(), ascii.end()); }

size_t Align4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

bool ParseNode(const std::string &s, size_t at, size_t limit, uint32_t depth, VersionNode *node,
               size_t *next) {
  if (depth > kMaxDepth || !bytes::Fits(s, at, kHeader) || limit > s.size()) {
    return false;
  }
  const size_t length = bytes::Get16(s, at);
  if (length < kHeader || at + length > limit) {
    return false;
  }
  const size_t end = at + length;
  node->valueLength = bytes::Get16(s, at + 2);
  node->type = bytes::Get16(s, at + 4);
  size_t p = at + kHeader;
  node->key.clear();
  for (;;) {
    if (p + 2 > end) {
      return false;
    }
    const uint16_t c = bytes::Get16(s, p);
    p += 2;
    if (c == 0) {
      break;
    }
    node->key.push_back(static_cast<char16_t>(c));
  }
  p = at + Align4(p - at);
  // Text values count UTF-16 units. A value that reaches past its node would swallow what the
  // packer writes after it when the block is read again.
  const size_t valueBytes = node->type == 1 ? 2u * node->valueLength : node->valueLength;
  if (p > end) {
    p = end;
  }
  if (valueBytes > end - p) {
    return false;
  }
  node->value = s.substr(p, valueBytes);
  p = at + Align4(p + valueBytes - at);
  node->children.clear();
  while (p + kHeader <= end) {
    VersionNode child;
    size_t after = 0;
    if (!ParseNode(s, p, end, depth + 1, &child, &after)) {
      return false;
    }
    node->children.push_back(child);
    p = at + Align4(after - at);
  }
  *next = end;
  return true;
}

std::string BuildNode(const VersionNode &node) {
  std::string out(kHeader, '\0');
  for (char16_t c : node.key) {
    bytes::Append16(&out, c);
  }
  bytes::Append16(&out, 0);
  bytes::PadTo(&out, 4);
  out += node.value;
  for (const VersionNode &child : node.children) {
    bytes::PadTo(&out, 4);
    out += BuildNode(child);
  }
  bytes::Put16(&out, 0, static_cast<uint32_t>(out.size()));
  bytes::Put16(&out, 2, node.valueLength);
  bytes::Put16(&out, 4, node.type);
  return out;
}

VersionNode TextNode(const std::u16string &key) {
  VersionNode node;
  node.key = key;
  node.type = 1;
  return node;
}

} // namespace

bool ParseVersionInfo(const std::string &block, VersionNode *root) {
  size_t next = 0;
  return ParseNode(block, 0, block.size(), 0, root, &next) && root->key == Key("VS_VERSION_INFO");
}

std::string BuildVersionInfo(const VersionNode &root) { return BuildNode(root); }

void SetVersionString(VersionNode *root, const std::string &key, const std::vector<uint16_t> &units,
                      size_t room) {
  VersionNode *info = nullptr;
  for (VersionNode &child : root->children) {
    if (child.key == Key("StringFileInfo")) {
      info = &child;
    }
  }
  if (info == nullptr) {
    root->children.insert(root->children.begin(), TextNode(Key("StringFileInfo")));
    info = &root->children.front();
  }
  if (info->children.empty()) {
    info->children.push_back(TextNode(Key("040904b0")));
  }
  std::string value;
  for (uint16_t unit : units) {
    bytes::Append16(&value, unit);
  }
  const size_t total = room > units.size() ? room : units.size() + 1;
  value.resize(2 * total, '\0');
  for (VersionNode &table : info->children) {
    VersionNode *target = nullptr;
    for (VersionNode &entry : table.children) {
      if (entry.key == Key(key)) {
        target = &entry;
      }
    }
    if (target == nullptr) {
      table.children.push_back(TextNode(Key(key)));
      target = &table.children.back();
    }
    target->type = 1;
    target->value = value;
    target->valueLength = static_cast<uint16_t>(total);
  }
}

bool GetVersionString(const VersionNode &root, const std::string &key, std::u16string *text) {
  for (const VersionNode &info : root.children) {
    if (info.key != Key("StringFileInfo")) {
      continue;
    }
    for (const VersionNode &table : info.children) {
      for (const VersionNode &entry : table.children) {
        if (entry.key == Key(key)) {
          text->clear();
          for (size_t i = 0; i + 1 < entry.value.size(); i += 2) {
            const char16_t c = static_cast<char16_t>(bytes::Get16(entry.value, i));
            if (c == 0) {
              break;
            }
            text->push_back(c);
          }
          return true;
        }
      }
    }
  }
  return false;
}

bool SetFixedFileVersion(VersionNode *root, const uint16_t parts[4]) {
  if (root->value.size() < 16 || bytes::Get32(root->value, 0) != kFixedSignature) {
    return false;
  }
  bytes::Put32(&root->value, 8, (static_cast<uint32_t>(parts[0]) << 16) | parts[1]);
  bytes::Put32(&root->value, 12, (static_cast<uint32_t>(parts[2]) << 16) | parts[3]);
  return true;
}
