// A file with the semantics of CreateFile, on Windows and (for the host build and its tests)
// on POSIX. Reads and writes report the bytes moved; offsets and sizes are 64-bit. The file is
// closed when the object goes; Close() is safe to repeat.
//
// Paths are 8-bit text in UTF-8 on every platform (path text): on Windows they reach the
// system's W functions converted (base/win/wide_text.h), so a folder the ANSI code page cannot
// spell is a path like any other. Text in the ANSI code page (a configuration's file names and
// command lines, an archive's entry names) becomes path text through PathFromAnsi.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "base/win/handle.h"
#endif

namespace sys {

// The longest path the setup hands to the system, with its terminating zero: MAX_PATH
// characters (UTF-16 units). A longer path is refused, never cut.
constexpr size_t kMaxPath = 260;

class File {
public:
  File() = default;
  ~File() { Close(); }
  File(const File &) = delete;
  File &operator=(const File &) = delete;

  // Shared reading, as the running executable is opened.
  bool OpenRead(const std::string &path);
  // GENERIC_WRITE, no sharing, CREATE_ALWAYS: an existing file is overwritten.
  bool Create(const std::string &path);
  // GENERIC_WRITE, OPEN_ALWAYS: keeps what is there (downloads append to it).
  bool OpenForAppend(const std::string &path);
  // GENERIC_WRITE, shared for reading, CREATE_NEW: never opens a file that is already there.
  bool CreateNew(const std::string &path);

  bool IsOpen() const;
  bool Close();

  // Each returns false on failure; *moved receives the count the system reports.
  bool Read(void *buffer, uint32_t size, uint32_t *moved);
  bool Write(const void *buffer, uint32_t size, uint32_t *moved);
  bool SeekFromBegin(uint64_t offset);
  bool SeekToEnd(uint32_t *position);
  bool Truncate();
  bool Flush();
  bool GetSize(uint64_t *size);

private:
#ifdef _WIN32
  bool OpenWith(const std::string &path, unsigned long access, unsigned long share,
                unsigned long disposition);
  win::Handle handle_;
#else
  int fd_ = -1;
#endif
};

// DeleteFile; the result is rarely looked at.
bool DeleteFilePath(const std::string &path);
// Copies a file over whatever lies at to; false when it cannot be read or written whole.
bool CopyFilePath(const std::string &from, const std::string &to);
bool FileExists(const std::string &path);

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Whether path, with its terminating zero, fits kMaxPath characters.
bool PathFits(const std::string &path);
// The index of the last separator of path, npos when there is none, and a separator added to a
// folder that does not end with one. Whole characters: in UTF-8 no byte of a longer character
// is a separator (in a double-byte ANSI code page, which the packer's paths are in on Windows, a
// trail byte may be).
size_t LastSeparator(const std::string &path);
void EnsureTrailingSeparator(std::string *folder);
// A backslash, whatever the platform: for the download folder, a Windows folder even in the
// host build's tests.
void EnsureTrailingBackslash(std::string *folder);
// Text in the ANSI code page as path text, and path text in the ANSI code page for the windows
// that show ANSI text ('?' and the like for what it lacks). The same text off Windows.
std::string PathFromAnsi(std::string_view ansi);
std::string AnsiFromPath(std::string_view path);

enum class FolderMade { Made, Exists, Failed };
// Makes one folder, never one that is there already: Exists when the name is taken.
FolderMade MakeFolder(const std::string &path);
// Removes an empty folder.
bool RemoveFolder(const std::string &path);

} // namespace sys
