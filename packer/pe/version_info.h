// The stub's version resource (VS_VERSIONINFO) as a tree of nodes, so that the packer can set
// the strings Explorer shows and the file version without knowing how the stub was built.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct VersionNode {
  std::u16string key;
  uint16_t type = 0; // 1 text, 0 binary
  std::string value; // raw bytes (UTF-16 with its NUL for text)
  uint16_t valueLength = 0;
  std::vector<VersionNode> children;
};

// False when block is not a version resource whose nodes nest inside each other.
bool ParseVersionInfo(const std::string &block, VersionNode *root);
std::string BuildVersionInfo(const VersionNode &root);

// Sets the text of key in every string table (one is made for US English when there is none).
// units is the UTF-16 text; room, when larger, pads the value with NULs to that many units.
void SetVersionString(VersionNode *root, const std::string &key, const std::vector<uint16_t> &units,
                      size_t room = 0);
// The text of key in the first string table that has it; false when none does.
bool GetVersionString(const VersionNode &root, const std::string &key, std::u16string *text);

// The fixed part's file version (four 16-bit fields); false when the block has no fixed part.
bool SetFixedFileVersion(VersionNode *root, const uint16_t parts[4]);
