// Scratch folders and files for the packer's tests.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace packer_test {

inline std::string ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Deterministic filler that never contains the archive signature.
inline std::string Filler(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>('a' + (state >> 16) % 26);
  }
  return bytes;
}

// A file that starts like a Windows program (MZ header pointing at "PE\0\0"), then filler.
inline std::string FakeProgram(size_t size, unsigned seed) {
  std::string bytes =
      "MZ" + std::string(58, '\0') + std::string("\x40\0\0\0", 4) + std::string("PE\0\0", 4);
  return bytes + Filler(size > bytes.size() ? size - bytes.size() : 0, seed);
}

class ScratchFolder {
public:
  ScratchFolder() {
    char pattern[] = "/tmp/packer-test-XXXXXX";
    path_ = ::mkdtemp(pattern) != nullptr ? pattern : "";
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  const std::string &path() const { return path_; }
  std::string operator/(const std::string &name) const { return path_ + "/" + name; }
  std::string Add(const std::string &name, const std::string &bytes) const {
    WriteFileBytes(*this / name, bytes);
    return *this / name;
  }
  std::vector<std::string> List() const {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(path_.c_str())) {
      while (dirent *e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") {
          names.push_back(name);
        }
      }
      ::closedir(dir);
    }
    return names;
  }

private:
  static void RemoveTree(const std::string &path) {
    if (path.empty()) {
      return;
    }
    if (DIR *dir = ::opendir(path.c_str())) {
      while (dirent *e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") {
          continue;
        }
        const std::string child = path + "/" + name;
        struct stat st;
        if (::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
          RemoveTree(child);
        } else {
          ::unlink(child.c_str());
        }
      }
      ::closedir(dir);
    }
    ::rmdir(path.c_str());
  }

  std::string path_;
};

} // namespace packer_test
