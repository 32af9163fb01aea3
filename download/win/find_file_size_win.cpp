#include "base/win/find_handle.h"
#include "download/find_file_size.h"

bool FindFileSize(const std::string &path, uint32_t *sizeLow) {
  WIN32_FIND_DATAA data;
  win::FindHandle find;
  if (!find.First(path.c_str(), &data)) {
    return false;
  }
  *sizeLow = data.nFileSizeLow;
  return true;
}
