// A file opened with CreateFileA. Reads and writes report the bytes moved; Close() may repeat.
#pragma once
#include <cstdint>
#include <string>

#include "app/win/handle.h"

namespace win {

class File {
public:
  File() = default;
  File(const File &) = delete;
  File &operator=(const File &) = delete;

  // Shared reading, as the running executable is opened.
  bool OpenRead(const std::string &path);
  // GENERIC_WRITE, no sharing, CREATE_ALWAYS: an existing file is overwritten.
  bool Create(const std::string &path);
  // GENERIC_WRITE, OPEN_ALWAYS: keeps what is there (downloads append to it).
  bool OpenForAppend(const std::string &path);

  bool IsOpen() const { return handle_.IsValid(); }
  HANDLE Get() const { return handle_.Get(); }
  bool Close() { return handle_.Close(); }

  // Each returns false on failure; *moved receives the count the system reports.
  bool Read(void *buffer, uint32_t size, uint32_t *moved);
  bool Write(const void *buffer, uint32_t size, uint32_t *moved);
  bool SeekFromBegin(uint32_t offset);
  bool SeekFromEnd(int32_t distance);
  bool SeekToEnd(uint32_t *position);
  bool Truncate();
  bool Flush();
  bool GetSize(uint32_t *size);

private:
  bool OpenWith(const std::string &path, DWORD access, DWORD share, DWORD disposition);
  Handle handle_;
};

} // namespace win
