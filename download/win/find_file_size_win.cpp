#include "base/win/find_handle.h"
#include "download/find_file_size.h"

bool FindFileSize(const std::string &path, uint64_t *size, uint64_t *writeTime) {
  WIN32_FIND_DATAA data;
  win::FindHandle find;
  if (!find.First(path.c_str(), &data)) {
    return false;
  }
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  *writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
               data.ftLastWriteTime.dwLowDateTime;
  return true;
}
