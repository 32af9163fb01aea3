// Runs a fuzz target once over every file of the folders (or the files) given: the seed
// corpora and the inputs of past findings stay checked in every ordinary test run.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool RunFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
  return true;
}

} // namespace

int main(int argc, char **argv) {
  int files = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      std::fprintf(stderr, "no such file or folder: %s\n", path.c_str());
      return 1;
    }
    if (!S_ISDIR(st.st_mode)) {
      files += RunFile(path) ? 1 : 0;
      continue;
    }
    DIR *dir = ::opendir(path.c_str());
    for (dirent *e = dir != nullptr ? ::readdir(dir) : nullptr; e != nullptr; e = ::readdir(dir)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") {
        files += RunFile(path + "/" + name) ? 1 : 0;
      }
    }
    if (dir != nullptr) {
      ::closedir(dir);
    }
  }
  std::printf("%d inputs replayed\n", files);
  return files > 0 ? 0 : 1;
}
