#include "prereq/search.h"

#include <utility>

#include "base/text.h"
#include "base/text_builder.h"
#include "prereq/config_reader.h"
#include "prereq/search_host.h"

namespace {

// A folder other than none ends with a backslash.
void AddBackslash(std::string *folder) {
  if (!folder->empty()) {
    text::EnsureTrailingBackslash(folder);
  }
}

// The one text a search found, moved into its list.
base::StringList OneFound(std::string *text) {
  base::StringList found;
  found.push_back(std::move(*text));
  return found;
}

// A path that would not fit a MAX_PATH buffer is never looked at.
bool Fits(const std::string &path) { return path.size() < sys::kMaxPath; }

} // namespace

bool IsFolderToken(std::string_view name) {
  for (const FolderTokenEntry &entry : kFolderTokens) {
    if (name == entry.name) {
      return true;
    }
  }
  return false;
}

std::string ResolveFolderToken(const SearchHost &host, std::string_view name, bool *native) {
  for (const FolderTokenEntry &entry : kFolderTokens) {
    if (name != entry.name) {
      continue;
    }
    std::string folder;
    if (Is64BitFolder(entry.folder)) {
      if (native != nullptr) {
        *native = true;
      }
      // A 32-bit Windows has no 64-bit folders.
      if (host.Architecture() == kArchX86) {
        return folder;
      }
    }
    switch (entry.folder) {
    case TokenFolder::System:
    case TokenFolder::System64:
      folder = host.SystemDirectory();
      break;
    case TokenFolder::Windows:
    case TokenFolder::WindowsVolume:
      folder = host.WindowsDirectory();
      break;
    case TokenFolder::Temp:
      folder = host.TempPath();
      break;
    case TokenFolder::Special:
      folder = host.SpecialFolder(entry.csidl);
      break;
    case TokenFolder::ProgramFiles64:
    case TokenFolder::CommonFiles64:
      // The shell gives a 32-bit program only the 32-bit folders; the 64-bit view of the
      // registry names the others.
      host.QueryValueText(RegRoot::LocalMachine64, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                          entry.folder == TokenFolder::ProgramFiles64 ? "ProgramFilesDir"
                                                                      : "CommonFilesDir",
                          &folder);
      break;
    }
    // The volume is the first three bytes of the Windows folder; the temporary folder is taken
    // as given; every other folder ends with a backslash.
    if (entry.folder == TokenFolder::WindowsVolume) {
      folder = folder.substr(0, 3);
    } else if (entry.folder != TokenFolder::Temp) {
      AddBackslash(&folder);
    }
    if (!Fits(folder)) {
      folder.clear();
    }
    return folder;
  }
  return std::string();
}

std::string ExpandFolderTokens(const SearchHost &host, const std::string &folder, bool *native) {
  std::string out;
  size_t pos = 0;
  while (pos < folder.size()) {
    size_t open = text::FindChar(folder, '[', pos);
    if (open == std::string::npos) {
      break;
    }
    out.append(folder.data() + pos, open - pos);
    size_t close = text::FindChar(folder, ']', open + 1);
    if (close == std::string::npos) {
      pos = open;
      break;
    }
    out += ResolveFolderToken(host, std::string_view(folder.data() + open + 1, close - open - 1),
                              native);
    pos = close + 1;
  }
  if (pos < folder.size()) {
    out.append(folder.data() + pos, folder.size() - pos);
  }
  return out;
}

FileSearchParts SplitFileSearch(const std::string &searchString) {
  FileSearchParts parts;
  std::string rest = searchString;
  const size_t question = text::FindChar(rest, '?', 1);
  if (question != std::string::npos) {
    parts.depth = ParseConfigNumber(std::string_view(rest).substr(question + 1));
    rest = rest.substr(0, question);
  }
  size_t split = text::FindLastChar(rest, '\\');
  if (split == 0 || split == std::string::npos) {
    split = text::FindLastChar(rest, ']');
  }
  if (split != std::string::npos) {
    parts.folder = rest.substr(0, split + 1);
    rest = rest.substr(split + 1);
  }
  parts.fileName = std::move(rest);
  return parts;
}

bool FindInFolder(const SearchHost &host, const std::string &folder, const std::string &name,
                  std::string *version) {
  std::string path = folder;
  if (!path.empty() && !text::EndsWithBackslash(path)) {
    path += '\\';
  }
  path += name;
  if (!Fits(path) || !host.PathExists(path)) {
    return false;
  }
  *version = host.FileVersionText(path);
  return true;
}

bool SearchFolderTree(const SearchHost &host, const std::string &folder, uint32_t depth,
                      const std::string &name, std::string *version) {
  std::string here = folder;
  AddBackslash(&here);
  if (!Fits(here)) {
    return false;
  }
  if (FindInFolder(host, here, name, version)) {
    return true;
  }
  // The listing pattern folder + "*.*" must fit as well.
  if (depth < 1 || here.size() + 3 >= sys::kMaxPath) {
    return false;
  }
  for (const std::string &sub : host.ListSubfolders(here)) {
    if (SearchFolderTree(host, here + sub, depth - 1, name, version)) {
      return true;
    }
  }
  return false;
}

base::StringList SearchFile(const SearchHost &host, const std::string &searchString) {
  FileSearchParts parts = SplitFileSearch(searchString);
  bool native = false;
  std::string folder = ExpandFolderTokens(host, parts.folder, &native);
  std::string version;
  if (!Fits(folder) ||
      !(native ? host.SearchFolderTreeNative(folder, parts.depth, parts.fileName, &version)
               : SearchFolderTree(host, folder, parts.depth, parts.fileName, &version))) {
    return {};
  }
  return OneFound(&version);
}

RegistrySearchParts SplitRegistrySearch(const std::string &text) {
  RegistrySearchParts parts;
  size_t rootEnd = text::FindChar(text, '\\');
  if (rootEnd == std::string::npos) {
    return parts;
  }
  parts.ok = true;
  const std::string_view root(text.data(), rootEnd);
  for (const RegRootName &name : kRegRootNames) {
    if (root == name.name) {
      parts.root = name.root;
    }
  }
  // The root's own backslash may begin the pair: a value of the root key itself (the text
  // HKCU, two backslashes, Version, one backslash) has an empty key path.
  size_t pair = text::Find(text, "\\\\", rootEnd);
  if (pair == std::string::npos) {
    parts.keyPath = text.substr(rootEnd + 1);
    return parts;
  }
  if (pair > rootEnd) {
    parts.keyPath = text.substr(rootEnd + 1, pair - rootEnd - 1);
  }
  parts.valueForm = true;
  size_t nameStart = pair + 2;
  size_t nameEnd = text::FindChar(text, '\\', nameStart);
  if (nameEnd == std::string::npos) {
    // No closing backslash: the key's default value.
    return parts;
  }
  parts.valueName = text.substr(nameStart, nameEnd - nameStart);
  size_t expectedEnd = text::FindChar(text, '\\', nameEnd + 1);
  if (expectedEnd != std::string::npos) {
    parts.hasExpected = true;
    parts.expected = text.substr(nameEnd + 1, expectedEnd - nameEnd - 1);
  }
  return parts;
}

bool RegistryValueToValueForm(const std::string &text, std::string *valueForm) {
  size_t last = text::FindLastChar(text, '\\');
  if (last == std::string::npos) {
    return false;
  }
  // The last backslash doubled and one added at the end: ROOT\Key\Name becomes ROOT\Key\\Name\.
  const std::string_view whole(text);
  *valueForm = text::Builder().Add({whole.substr(0, last + 1), whole.substr(last), "\\"}).Take();
  return true;
}

base::StringList SearchRegistry(const SearchHost &host, const std::string &text) {
  RegistrySearchParts parts = SplitRegistrySearch(text);
  // A 32-bit Windows has no 64-bit view (asked for one, the system would read its only view).
  if (!parts.ok || (IsView64(parts.root) && host.Architecture() == kArchX86)) {
    return {};
  }
  const RegRoot root = parts.root;
  if (!parts.valueForm) {
    base::StringList names;
    host.EnumerateSubkeys(root, parts.keyPath, &names);
    return names;
  }
  std::string data;
  if (!host.QueryValueText(root, parts.keyPath, parts.valueName, &data)) {
    return {};
  }
  if (parts.hasExpected && data != parts.expected) {
    return {};
  }
  return OneFound(&data);
}

base::StringList RunSearch(const SearchHost &host, int32_t searchType,
                           const std::string &searchString) {
  switch (searchType) {
  case kSearchFile:
    return SearchFile(host, searchString);
  case kSearchRegistry:
    return SearchRegistry(host, searchString);
  case kSearchRegistryValue: {
    std::string valueForm;
    if (!RegistryValueToValueForm(searchString, &valueForm)) {
      return {};
    }
    return SearchRegistry(host, valueForm);
  }
  case kSearchProduct:
  case kSearchUpgrade: {
    base::StringList found;
    std::string version;
    if (searchType == kSearchProduct) {
      if (host.ProductVersion(searchString, &version)) {
        found.push_back(std::move(version));
      }
      return found;
    }
    for (const std::string &product : host.RelatedProducts(searchString)) {
      if (host.ProductVersion(product, &version)) {
        found.push_back(std::move(version));
      }
    }
    return found;
  }
  default:
    return {};
  }
}
