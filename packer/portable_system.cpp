#include "packer/portable_system.h"

#include "base/text.h"

#ifdef _WIN32
#include <windows.h>

#include "base/win/handle.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>
#endif

namespace portable {

#ifdef _WIN32

bool FileSize(const std::string &path, uint64_t *size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool IsDirectory(const std::string &path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDirectory(const std::string &path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool RemoveEmptyDirectory(const std::string &path) {
  return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

namespace {

bool FileIdentity(const std::string &path, BY_HANDLE_FILE_INFORMATION *info) {
  win::Handle file(::CreateFileA(path.c_str(), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.IsValid() && ::GetFileInformationByHandle(file.Get(), info) != FALSE;
}

} // namespace

bool SameFile(const std::string &a, const std::string &b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return FileIdentity(a, &first) && FileIdentity(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool ReplaceFile(const std::string &from, const std::string &to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool MarkExecutable(const std::string &) { return true; }

std::string MakeTempDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathA(sizeof(buffer), buffer);
  if (length == 0 || length >= sizeof(buffer)) {
    return std::string();
  }
  std::string base(buffer, length);
  text::EnsureTrailingBackslash(&base);
  const DWORD seed = ::GetTickCount() ^ ::GetCurrentProcessId();
  for (DWORD attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = base + "tessara-pack-" + std::to_string(seed + attempt);
    if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
      return candidate;
    }
  }
  return std::string();
}

unsigned long ProcessId() { return ::GetCurrentProcessId(); }

char Separator() { return '\\'; }

std::string BaseName(const std::string &path) {
  const size_t backslash = text::FindLastChar(path, '\\');
  const size_t slash = text::FindLastChar(path, '/');
  size_t last = backslash;
  if (last == std::string::npos || (slash != std::string::npos && slash > last)) {
    last = slash;
  }
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string JoinPath(const std::string &folder, const std::string &name) {
  if (folder.empty()) {
    return name;
  }
  std::string path = folder;
  if (!text::EndsWithBackslash(path) && path.back() != '/') {
    path += '\\';
  }
  return path + name;
}

#else

bool FileSize(const std::string &path, uint64_t *size) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool IsDirectory(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string &path) { return ::mkdir(path.c_str(), 0755) == 0; }

bool RemoveEmptyDirectory(const std::string &path) { return ::rmdir(path.c_str()) == 0; }

bool SameFile(const std::string &a, const std::string &b) {
  struct stat first;
  struct stat second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool ReplaceFile(const std::string &from, const std::string &to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool MarkExecutable(const std::string &path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return false;
  }
  // Execute wherever read is allowed, as a compiler's output gets it.
  const mode_t readBits = st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH);
  return ::chmod(path.c_str(), st.st_mode | (readBits >> 2)) == 0;
}

std::string MakeTempDirectory() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
  pattern += "/tessara-pack-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return ::mkdtemp(buffer.data()) != nullptr ? std::string(buffer.data()) : std::string();
}

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

char Separator() { return '/'; }

std::string BaseName(const std::string &path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string &folder, const std::string &name) {
  if (folder.empty()) {
    return name;
  }
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

#endif

} // namespace portable
