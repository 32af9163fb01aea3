#include <sys/stat.h>

#include "download/find_file_size.h"

bool FindFileSize(const std::string &path, uint32_t *sizeLow) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return false;
  }
  *sizeLow = static_cast<uint32_t>(static_cast<uint64_t>(st.st_size) & 0xFFFFFFFFu);
  return true;
}
