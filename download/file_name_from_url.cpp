#include "download/file_name_from_url.h"

#include "archive/archive_format.h"
#include "base/file.h"
#include "base/text.h"

bool IsWebAddress(const std::string &url) {
  return text::StartsWithNoCase(url, "http://") || text::StartsWithNoCase(url, "https://");
}

std::string fileNameFromUrl(const std::string &url) {
  size_t slash = text::FindLastChar(url, '/');
  size_t backslash = text::FindLastChar(url, '\\');
  size_t last = slash;
  if (last == std::string::npos || (backslash != std::string::npos && backslash > last)) {
    last = backslash;
  }
  // No separator: nothing after it (the size's substring is empty).
  return url.substr(last == std::string::npos ? url.size() : last + 1);
}

bool IsUsableDownloadName(const std::string &name) {
  if (name.empty() || name == "." || name == "..") {
    return false;
  }
  // A device (COM1 would receive the download) or a name Windows would write differently.
  if (IsReservedDeviceName(name) || name.back() == '.' || name.back() == ' ') {
    return false;
  }
  for (size_t i = 0; i < name.size(); i = text::NextChar(name, i)) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    // None of these can be in a Windows file name; '*' and '?' would also act as wildcards.
    if (c < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
        c == '|') {
      return false;
    }
  }
  return true;
}

namespace {

std::string PathInFolder(const std::string &folder, const std::string &name) {
  std::string path = folder;
  sys::EnsureTrailingBackslash(&path);
  path += sys::PathFromAnsi(name);
  return path;
}

} // namespace

std::string DownloadTargetPath(const std::string &folder, const std::string &url) {
  return PathInFolder(folder, fileNameFromUrl(url));
}

bool UsableDownloadPath(const std::string &folder, const std::string &url, std::string *path) {
  const std::string name = fileNameFromUrl(url);
  if (!IsUsableDownloadName(name)) {
    return false;
  }
  *path = PathInFolder(folder, name);
  return true;
}
