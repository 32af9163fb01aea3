#include "prereq/profile_file.h"

#include <utility>

#include "base/buffer.h"
#include "base/file.h"
#include "base/text.h"
#include "prereq/profile_encoding.h"

namespace {

// The name as the indexes hold it: trimmed, every byte lowered.
std::string IndexName(std::string_view name) {
  name = text::Trim(name);
  std::string out(name.data(), name.size());
  for (char &c : out) {
    c = text::LowerAscii(c);
  }
  return out;
}

} // namespace

bool ProfileFile::Load(const std::string &path) {
  sys::File file;
  base::Buffer<char> content;
  uint64_t size = 0;
  uint32_t moved = 0;
  // The whole file in one read. A folder, a read error or a file larger than any configuration
  // could be is as unreadable as a missing file.
  bool readable = file.OpenRead(path) && file.GetSize(&size) && size < kMaxProfileSize &&
                  content.Allocate(static_cast<size_t>(size)) &&
                  file.Read(content.get(), static_cast<uint32_t>(size), &moved) && moved == size;
  Parse(readable ? std::string_view(content.get(), moved) : std::string_view());
  loaded_ = readable;
  return loaded_;
}

void ProfileFile::Parse(std::string_view raw) {
  sections_.clear();
  firstSection_.clear();
  std::string content;
  encoding_ = DecodeProfileText(raw, &content);
  const char *const text = content.data();
  const size_t size = content.size();
  size_t pos = 0;
  // Lines before the first section belong to a section without a name.
  sections_.emplace_back();
  firstSection_.emplace(std::string(), 0);
  int lineNumber = 1;
  while (pos < size) {
    size_t end = pos;
    while (end < size && text[end] != '\n' && text[end] != '\r') {
      ++end;
    }
    const std::string_view line = text::Trim(std::string_view(text + pos, end - pos));
    int thisLine = lineNumber;
    // Every run of CR and LF ends one line, as it does for the platform's reader.
    pos = end;
    while (pos < size && (text[pos] == '\n' || text[pos] == '\r')) {
      lineNumber += text[pos] == '\n' ? 1 : 0;
      ++pos;
    }
    if (line.empty()) {
      continue;
    }
    // The first '=' and the last ']', at whole characters: a trail byte is never taken for one.
    // The line's characters are stepped through in the whole text, which they begin and end in.
    size_t equals = std::string_view::npos;
    size_t close = std::string_view::npos;
    const size_t from = static_cast<size_t>(line.data() - text);
    for (size_t i = from; i < from + line.size(); i = text::NextChar(content, i)) {
      if (text[i] == '=' && equals == std::string_view::npos) {
        equals = i - from;
      } else if (text[i] == ']') {
        close = i - from;
      }
    }
    if (line[0] == '[' && close != std::string_view::npos) {
      Section &section = sections_.emplace_back();
      const std::string_view name = text::Trim(std::string_view(line.data() + 1, close - 1));
      section.name = std::string(name);
      section.line = thisLine;
      firstSection_.emplace(IndexName(name), sections_.size() - 1);
      continue;
    }
    // Without a closing bracket a '[' line is an ordinary key line.
    Section &section = sections_.back();
    Key &key = section.keys.emplace_back();
    key.line = thisLine;
    std::string_view name = line;
    if (equals != std::string_view::npos) {
      name = text::Trim(std::string_view(line.data(), equals));
      const std::string_view value =
          text::Trim(std::string_view(line.data() + equals + 1, line.size() - equals - 1));
      key.value = std::string(value);
      key.hasEquals = true;
    }
    key.name = std::string(name);
    section.firstKey.emplace(IndexName(name), section.keys.size() - 1);
  }
}

const ProfileFile::Section *ProfileFile::FindSection(std::string_view name) const {
  const size_t index = firstSection_.find(IndexName(name));
  return index == NameIndex::npos ? nullptr : &sections_[index];
}

const ProfileFile::Key *ProfileFile::FindKey(const Section &section, std::string_view name) {
  const size_t index = section.firstKey.find(IndexName(name));
  return index == NameIndex::npos ? nullptr : &section.keys[index];
}

std::string_view ProfileFile::UnquotedView(std::string_view raw) {
  if (raw.size() >= 2) {
    const char quote = raw.front();
    if ((quote == '"' || quote == '\'') && raw.back() == quote) {
      return std::string_view(raw.data() + 1, raw.size() - 2);
    }
  }
  return raw;
}

std::string ProfileFile::Unquote(std::string_view raw) {
  const std::string_view kept = UnquotedView(raw);
  return std::string(kept.data(), kept.size());
}

bool ProfileFile::FindView(std::string_view section, std::string_view key,
                           std::string_view *value) const {
  const Section *found = FindSection(section);
  const Key *entry = found == nullptr ? nullptr : FindKey(*found, key);
  if (entry == nullptr || !entry->hasEquals) {
    return false;
  }
  *value = UnquotedView(entry->value);
  return true;
}
