#include <sys/stat.h>

#include "download/find_file_size.h"

bool FindFileSize(const std::string &path, uint64_t *size, uint64_t *writeTime) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  *writeTime = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
               static_cast<uint64_t>(st.st_mtim.tv_nsec);
  return true;
}
