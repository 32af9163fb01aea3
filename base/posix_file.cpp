// Host implementation of sys::File for the native build: the packer and the unit tests.
#include "base/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sys {

bool File::OpenRead(const std::string &path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY);
  return fd_ >= 0;
}

bool File::Create(const std::string &path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  return fd_ >= 0;
}

bool File::OpenForAppend(const std::string &path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  return fd_ >= 0;
}

bool File::CreateNew(const std::string &path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  return fd_ >= 0;
}

bool File::IsOpen() const { return fd_ >= 0; }

bool File::Close() {
  if (fd_ < 0) {
    return true;
  }
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0;
}

bool File::Read(void *buffer, uint32_t size, uint32_t *moved) {
  ssize_t n = ::read(fd_, buffer, size);
  *moved = n > 0 ? static_cast<uint32_t>(n) : 0;
  return n >= 0;
}

bool File::Write(const void *buffer, uint32_t size, uint32_t *moved) {
  ssize_t n = ::write(fd_, buffer, size);
  *moved = n > 0 ? static_cast<uint32_t>(n) : 0;
  return n >= 0;
}

bool File::SeekFromBegin(uint64_t offset) {
  static_assert(sizeof(off_t) == 8, "64-bit file offsets");
  if (offset > static_cast<uint64_t>(INT64_MAX)) {
    return false;
  }
  return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool File::SeekToEnd(uint32_t *position) {
  off_t pos = ::lseek(fd_, 0, SEEK_END);
  *position = static_cast<uint32_t>(pos);
  return pos >= 0 && pos <= 0xFFFFFFFF;
}

bool File::Truncate() {
  off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  return pos >= 0 && ::ftruncate(fd_, pos) == 0;
}

bool File::Flush() { return ::fsync(fd_) == 0 || errno == EINVAL; }

bool File::GetSize(uint64_t *size) {
  struct stat st;
  if (::fstat(fd_, &st) != 0 || st.st_size < 0) {
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool DeleteFilePath(const std::string &path) { return ::unlink(path.c_str()) == 0; }

bool CopyFilePath(const std::string &from, const std::string &to) {
  File in;
  File out;
  if (!in.OpenRead(from) || !out.Create(to)) {
    return false;
  }
  char buffer[65536];
  for (;;) {
    uint32_t got = 0;
    uint32_t written = 0;
    if (!in.Read(buffer, sizeof buffer, &got)) {
      return false;
    }
    if (got == 0) {
      return out.Close();
    }
    if (!out.Write(buffer, got, &written) || written != got) {
      return false;
    }
  }
}

bool FileExists(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

FolderMade MakeFolder(const std::string &path) {
  if (::mkdir(path.c_str(), 0700) == 0) {
    return FolderMade::Made;
  }
  return errno == EEXIST ? FolderMade::Exists : FolderMade::Failed;
}

bool RemoveFolder(const std::string &path) { return ::rmdir(path.c_str()) == 0; }

// Counted as Windows counts: UTF-16 units, two for a character beyond the first plane.
bool PathFits(const std::string &path) {
  size_t units = 0;
  for (const char c : path) {
    const unsigned char byte = static_cast<unsigned char>(c);
    units += (byte & 0xC0u) == 0x80u ? 0 : byte >= 0xF0u ? 2 : 1;
  }
  return units < kMaxPath;
}

size_t LastSeparator(const std::string &path) { return path.rfind('/'); }

void EnsureTrailingSeparator(std::string *folder) {
  if (folder->empty() || folder->back() != '/') {
    folder->push_back('/');
  }
}

void EnsureTrailingBackslash(std::string *folder) {
  if (folder->empty() || folder->back() != '\\') {
    folder->push_back('\\');
  }
}

std::string PathFromAnsi(std::string_view ansi) { return std::string(ansi); }

std::string AnsiFromPath(std::string_view path) { return std::string(path); }

} // namespace sys
