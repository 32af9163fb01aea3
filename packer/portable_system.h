// The few system operations the packer needs beyond sys::File (files, folders, paths, its
// process id), one interface on Linux and Windows alike.
#pragma once
#include <cstdint>
#include <string>

namespace portable {

// Size of a file of any size (a setup input may be larger than 4 GiB and must be refused).
bool FileSize(const std::string &path, uint64_t *size);
bool IsDirectory(const std::string &path);
bool MakeDirectory(const std::string &path);
bool RemoveEmptyDirectory(const std::string &path);
// Whether both paths name one existing file (the same file reached by two paths).
bool SameFile(const std::string &a, const std::string &b);
// Moves from over to, replacing an existing file.
bool ReplaceFile(const std::string &from, const std::string &to);
// Sets the executable bits where the system has them.
bool MarkExecutable(const std::string &path);
// A new, empty folder in the system's temporary folder; empty on failure.
std::string MakeTempDirectory();
unsigned long ProcessId();

// Folder separator written by this tool: '\\' on Windows, '/' elsewhere.
char Separator();
// The part after the last separator ('/' everywhere, and '\\' on Windows, where both are).
std::string BaseName(const std::string &path);
// folder + separator + name, without doubling a separator already there.
std::string JoinPath(const std::string &folder, const std::string &name);

} // namespace portable
