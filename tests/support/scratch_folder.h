// A new, empty folder in the system's temporary folder for one test, removed with everything in
// it when the test ends. Native tests and the Windows tests under Wine share it.
#pragma once
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class ScratchFolder {
public:
  ScratchFolder() {
#ifdef _WIN32
    char temp[MAX_PATH] = {};
    const DWORD length = ::GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(length > 0 && length < MAX_PATH);
    static unsigned counter = 0;
    for (unsigned tries = 0; tries < 1000 && path_.empty(); ++tries) {
      const std::string folder = std::string(temp) + "tessara-test-" +
                                 std::to_string(::GetCurrentProcessId()) + "-" +
                                 std::to_string(++counter);
      if (::CreateDirectoryA(folder.c_str(), nullptr)) {
        path_ = folder;
      }
    }
#else
    const char *tmp = ::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/tessara-test-XXXXXX";
    if (::mkdtemp(&pattern[0]) != nullptr) {
      path_ = pattern;
    }
#endif
    EXPECT_FALSE(path_.empty()) << "no scratch folder";
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder &) = delete;
  ScratchFolder &operator=(const ScratchFolder &) = delete;

  static char Separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
  }
  // The folder without a trailing separator, and with one.
  const std::string &path() const { return path_; }
  std::string folder() const { return path_ + Separator(); }
  std::string operator/(const std::string &name) const { return folder() + name; }

  // Writes a file of these bytes into the folder; returns its path.
  std::string Add(const std::string &name, const std::string &bytes) const {
    std::ofstream(*this / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return *this / name;
  }

  // The names in a folder (this one by default), "." and ".." left out.
  std::vector<std::string> List(const std::string &sub = std::string()) const {
    return Names(sub.empty() ? path_ : *this / sub);
  }

  static std::vector<std::string> Names(const std::string &folder) {
    std::vector<std::string> names;
#ifdef _WIN32
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
      return names;
    }
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") {
        names.push_back(name);
      }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
#else
    if (DIR *dir = ::opendir(folder.c_str())) {
      while (dirent *e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") {
          names.push_back(name);
        }
      }
      ::closedir(dir);
    }
#endif
    return names;
  }

private:
  static void RemoveTree(const std::string &path) {
    if (path.empty()) {
      return;
    }
    for (const std::string &name : Names(path)) {
      const std::string child = path + Separator() + name;
#ifdef _WIN32
      const DWORD attributes = ::GetFileAttributesA(child.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(child.c_str());
      }
#else
      struct stat st;
      if (::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        RemoveTree(child);
      } else {
        ::unlink(child.c_str());
      }
#endif
    }
#ifdef _WIN32
    ::RemoveDirectoryA(path.c_str());
#else
    ::rmdir(path.c_str());
#endif
  }

  std::string path_;
};
