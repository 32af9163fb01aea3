#include "prereq/profile_file.h"

#include <utility>

#include "base/file.h"
#include "base/text.h"
#include "prereq/profile_encoding.h"

bool ProfileFile::Load(const std::string &path) {
  sys::File file;
  std::string content;
  bool readable = file.OpenRead(path);
  if (readable) {
    char buffer[16384];
    uint32_t moved = 0;
    for (;;) {
      if (!file.Read(buffer, sizeof buffer, &moved)) {
        // A folder, or a read error: as unreadable as a missing file.
        readable = false;
        content.clear();
        break;
      }
      if (moved == 0) {
        break;
      }
      content.append(buffer, moved);
    }
  }
  Parse(content);
  loaded_ = readable;
  return loaded_;
}

void ProfileFile::Parse(const std::string &raw) {
  sections_.clear();
  firstSection_.clear();
  std::string content;
  encoding_ = DecodeProfileText(raw, &content);
  size_t pos = 0;
  // Lines before the first section belong to a section without a name.
  sections_.push_back(Section{});
  firstSection_.emplace(std::string(), 0);
  int lineNumber = 1;
  while (pos < content.size()) {
    size_t end = pos;
    while (end < content.size() && content[end] != '\n' && content[end] != '\r') {
      ++end;
    }
    std::string line = text::Trim(content.substr(pos, end - pos));
    int thisLine = lineNumber;
    // Every run of CR and LF ends one line, as it does for the platform's reader.
    pos = end;
    while (pos < content.size() && (content[pos] == '\n' || content[pos] == '\r')) {
      lineNumber += content[pos] == '\n' ? 1 : 0;
      ++pos;
    }
    if (line.empty()) {
      continue;
    }
    if (line[0] == '[') {
      size_t close = text::FindLastChar(line, ']');
      if (close != std::string::npos) {
        Section section;
        section.name = text::Trim(line.substr(1, close - 1));
        section.line = thisLine;
        firstSection_.emplace(text::Lower(section.name), sections_.size());
        sections_.push_back(std::move(section));
        continue;
      }
      // Without a closing bracket the line is an ordinary key line.
    }
    Key key;
    key.line = thisLine;
    size_t equals = text::FindChar(line, '=');
    if (equals == std::string::npos) {
      key.name = line;
    } else {
      key.name = text::Trim(line.substr(0, equals));
      key.value = text::Trim(line.substr(equals + 1));
      key.hasEquals = true;
    }
    Section &section = sections_.back();
    section.firstKey.emplace(text::Lower(key.name), section.keys.size());
    section.keys.push_back(std::move(key));
  }
}

const ProfileFile::Section *ProfileFile::FindSection(const std::string &name) const {
  auto it = firstSection_.find(text::Lower(text::Trim(name)));
  return it == firstSection_.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Key *ProfileFile::FindKey(const Section &section, const std::string &name) {
  std::string wanted = text::Lower(text::Trim(name));
  for (const Key &key : section.keys) {
    if (text::Lower(key.name) == wanted) {
      return &key;
    }
  }
  return nullptr;
}

std::string ProfileFile::Unquote(const std::string &raw) {
  if (raw.size() >= 2 && (raw[0] == '"' || raw[0] == '\'') && raw.back() == raw[0]) {
    return raw.substr(1, raw.size() - 2);
  }
  return raw;
}

bool ProfileFile::Find(const std::string &section, const std::string &key,
                       std::string *value) const {
  auto sectionIt = firstSection_.find(text::Lower(text::Trim(section)));
  if (sectionIt == firstSection_.end()) {
    return false;
  }
  const auto &keys = sections_[sectionIt->second].firstKey;
  auto keyIt = keys.find(text::Lower(text::Trim(key)));
  if (keyIt == keys.end()) {
    return false;
  }
  const Key &found = sections_[sectionIt->second].keys[keyIt->second];
  if (!found.hasEquals) {
    return false;
  }
  *value = Unquote(found.value);
  return true;
}
