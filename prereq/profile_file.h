// An INI file read and parsed once, answering lookups the way the platform's profile reader
// answers GetPrivateProfileStringA with a 260-byte buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/object_vector.h"
#include "prereq/name_index.h"
#include "prereq/profile_encoding.h"

// The buffer the configuration values are read into; a value needs one byte for its end.
constexpr size_t kConfigValueBuffer = 260;
// A file this large is no configuration: it is not read.
constexpr uint64_t kMaxProfileSize = 64u << 20;

class ProfileFile {
public:
  struct Key {
    std::string name;
    std::string value;
    bool hasEquals = false; // a line without '=' names a key that has no value
    int line = 0;
  };
  struct Section {
    std::string name;
    base::ObjectVector<Key> keys;
    int line = 0;
    NameIndex firstKey; // lowered key names to their first index in keys
  };

  // Reads and parses the file; a missing or unreadable file reads as an empty one.
  bool Load(const std::string &path);
  // The file's bytes; a UTF-8 or UTF-16 file (by its byte-order mark) is read in the ANSI code
  // page first, as the platform's reader does.
  void Parse(std::string_view raw);
  ProfileEncoding encoding() const { return encoding_; }
  // Whether the file has any section or key line at all.
  bool hasLines() const {
    return sections_.size() > 1 || (!sections_.empty() && !sections_[0].keys.empty());
  }

  // The value of key in section with surrounding blanks and one enclosing pair of quotes
  // removed. Names match without regard to case; the first section of a name and the first
  // key of a name in it win. Absent when the section, the key or its '=' is missing.
  // A view into the file: no copy is made.
  bool FindView(std::string_view section, std::string_view key, std::string_view *value) const;

  bool loaded() const { return loaded_; }
  const base::ObjectVector<Section> &sections() const { return sections_; }
  // First section of that name (case-insensitive), or nullptr.
  const Section *FindSection(std::string_view name) const;
  // First key of that name in the section, or nullptr.
  static const Key *FindKey(const Section &section, std::string_view name);
  // The value as the platform hands it out: blanks already gone, one pair of quotes removed.
  static std::string Unquote(std::string_view raw);
  // The same without a copy: the part of raw that Unquote keeps.
  static std::string_view UnquotedView(std::string_view raw);

private:
  base::ObjectVector<Section> sections_;
  NameIndex firstSection_;
  bool loaded_ = false;
  ProfileEncoding encoding_ = ProfileEncoding::kAnsi;
};
