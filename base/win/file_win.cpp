#include "base/file.h"

#include <windows.h>

namespace sys {

bool File::OpenWith(const std::string &path, unsigned long access, unsigned long share,
                    unsigned long disposition) {
  handle_.Attach(::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  return handle_.IsValid();
}

bool File::OpenRead(const std::string &path) {
  return OpenWith(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

bool File::Create(const std::string &path) {
  return OpenWith(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
}

bool File::OpenForAppend(const std::string &path) {
  return OpenWith(path, GENERIC_WRITE, 0, OPEN_ALWAYS);
}

bool File::CreateNew(const std::string &path) {
  return OpenWith(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
}

bool File::Read(void *buffer, uint32_t size, uint32_t *moved) {
  DWORD done = 0;
  BOOL ok = ::ReadFile(handle_.Get(), buffer, size, &done, nullptr);
  *moved = done;
  return ok != FALSE;
}

bool File::Write(const void *buffer, uint32_t size, uint32_t *moved) {
  DWORD done = 0;
  BOOL ok = ::WriteFile(handle_.Get(), buffer, size, &done, nullptr);
  *moved = done;
  return ok != FALSE;
}

bool File::SeekFromBegin(uint64_t offset) {
  if (offset > 0x7FFFFFFFFFFFFFFFull) {
    return false;
  }
  // With a high part, INVALID_SET_FILE_POINTER is also a valid low part: the error code tells.
  LONG high = static_cast<LONG>(offset >> 32);
  ::SetLastError(NO_ERROR);
  DWORD low =
      ::SetFilePointer(handle_.Get(), static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
  return low != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
}

bool File::SeekToEnd(uint32_t *position) {
  DWORD pos = ::SetFilePointer(handle_.Get(), 0, nullptr, FILE_END);
  *position = pos;
  return pos != INVALID_SET_FILE_POINTER;
}

bool File::Truncate() { return ::SetEndOfFile(handle_.Get()) != FALSE; }

bool File::Flush() { return ::FlushFileBuffers(handle_.Get()) != FALSE; }

bool File::GetSize(uint64_t *size) {
  DWORD high = 0;
  ::SetLastError(NO_ERROR);
  DWORD low = ::GetFileSize(handle_.Get(), &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) {
    return false;
  }
  *size = (static_cast<uint64_t>(high) << 32) | low;
  return true;
}

bool File::IsOpen() const { return handle_.IsValid(); }

bool File::Close() { return handle_.Close(); }

bool DeleteFilePath(const std::string &path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool FileExists(const std::string &path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FolderMade MakeFolder(const std::string &path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) {
    return FolderMade::Made;
  }
  return ::GetLastError() == ERROR_ALREADY_EXISTS ? FolderMade::Exists : FolderMade::Failed;
}

bool RemoveFolder(const std::string &path) { return ::RemoveDirectoryA(path.c_str()) != FALSE; }

} // namespace sys
