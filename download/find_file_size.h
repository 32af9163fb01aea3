// The size of a file as a directory search reports it (FindFirstFileA on Windows).
#pragma once
#include <cstdint>
#include <string>

// False when nothing of that name is found; *sizeLow gets the low 32 bits of its size.
bool FindFileSize(const std::string &path, uint32_t *sizeLow);
