// Searching an input file for a byte pattern in bounded chunks, and reading at a position.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/file.h"

// Every start position of pattern inside [begin, end) of file, in ascending order. The file is
// read in chunks that overlap by the pattern's length, so matches across chunks are found.
bool FindAllInFile(sys::File &file, uint32_t begin, uint32_t end, const std::string &pattern,
                   std::vector<uint32_t> *positions);

// Reads exactly size bytes at position; false on a failure or a short read.
bool ReadAt(sys::File &file, uint32_t position, void *buffer, uint32_t size);

// The first bytes of the file at path, at most limit of them (fewer when the file is shorter).
bool ReadFileHead(const std::string &path, uint32_t limit, std::string *bytes);
