#include "base/file.h"

#include <windows.h>

#include "base/text.h"
#include "base/win/wide_text.h"

namespace sys {

bool File::OpenWith(const std::string &path, unsigned long access, unsigned long share,
                    unsigned long disposition) {
  handle_.Attach(::CreateFileW(win::WideText(path).get(), access, share, nullptr, disposition,
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

bool DeleteFilePath(const std::string &path) {
  return ::DeleteFileW(win::WideText(path).get()) != FALSE;
}

bool CopyFilePath(const std::string &from, const std::string &to) {
  return ::CopyFileW(win::WideText(from).get(), win::WideText(to).get(), FALSE) != FALSE;
}

bool FileExists(const std::string &path) {
  return ::GetFileAttributesW(win::WideText(path).get()) != INVALID_FILE_ATTRIBUTES;
}

bool PathFits(const std::string &path) {
  return ::MultiByteToWideChar(win::PathCodePage(), 0, path.data(), static_cast<int>(path.size()),
                               nullptr, 0) < static_cast<int>(kMaxPath);
}

size_t LastSeparator(const std::string &path) {
  return win::PathCodePage() == CP_UTF8 ? path.rfind('\\') : text::FindLastChar(path, '\\');
}

void EnsureTrailingSeparator(std::string *folder) { EnsureTrailingBackslash(folder); }

void EnsureTrailingBackslash(std::string *folder) {
  if (win::PathCodePage() != CP_UTF8) {
    text::EnsureTrailingBackslash(folder);
  } else if (folder->empty() || folder->back() != '\\') {
    folder->push_back('\\');
  }
}

std::string PathFromAnsi(std::string_view ansi) {
  const win::WideText wide(ansi, CP_ACP);
  return win::NarrowText(wide.get(), wide.size());
}

std::string AnsiFromPath(std::string_view path) {
  const win::WideText wide(path);
  return win::NarrowText(wide.get(), wide.size(), CP_ACP);
}

FolderMade MakeFolder(const std::string &path) {
  if (::CreateDirectoryW(win::WideText(path).get(), nullptr)) {
    return FolderMade::Made;
  }
  return ::GetLastError() == ERROR_ALREADY_EXISTS ? FolderMade::Exists : FolderMade::Failed;
}

bool RemoveFolder(const std::string &path) {
  return ::RemoveDirectoryW(win::WideText(path).get()) != FALSE;
}

} // namespace sys
