// The size and last-write time of a file (GetFileAttributesExW on Windows; the path is path
// text, base/file.h).
#pragma once
#include <cstdint>
#include <string>

// False when nothing of that name is found. *writeTime only tells whether the file changed.
bool FindFileSize(const std::string &path, uint64_t *size, uint64_t *writeTime);
