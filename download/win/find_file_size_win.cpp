#include <windows.h>

#include "base/win/wide_text.h"
#include "download/find_file_size.h"

bool FindFileSize(const std::string &path, uint64_t *size, uint64_t *writeTime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(win::WideText(path).get(), GetFileExInfoStandard, &data)) {
    return false;
  }
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  *writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
  return true;
}
