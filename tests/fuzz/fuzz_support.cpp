#include "tests/fuzz/fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_folder;

// Removes the folder's files and the folder, one level of subfolders deep.
void RemoveTree(const std::string &folder, int depth) {
  DIR *dir = ::opendir(folder.c_str());
  for (dirent *e = dir != nullptr ? ::readdir(dir) : nullptr; e != nullptr; e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    const std::string path = folder + name;
    if (::unlink(path.c_str()) != 0 && depth > 0) {
      RemoveTree(path + "/", depth - 1);
    }
  }
  if (dir != nullptr) {
    ::closedir(dir);
  }
  ::rmdir(folder.c_str());
}

void RemoveScratchFolder() { RemoveTree(g_folder, 1); }

} // namespace

std::string FuzzScratchFolder() {
  std::string &folder = g_folder;
  if (folder.empty()) {
    // Memory-backed when the system has it: the code under test flushes what it writes.
    const char *tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp != 0 ? tmp : "/tmp";
    if (tmp == nullptr && ::access("/dev/shm", W_OK) == 0) {
      base = "/dev/shm";
    }
    folder = base + "/tessara-fuzz-" + std::to_string(::getpid()) + "/";
    ::mkdir(folder.c_str(), 0700);
    std::atexit(RemoveScratchFolder);
  }
  return folder;
}
