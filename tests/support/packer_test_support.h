// Scratch folders and files for the packer's tests.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace packer_test {

inline std::string ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Deterministic filler that never contains the archive signature.
inline std::string Filler(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>('a' + (state >> 16) % 26);
  }
  return bytes;
}

// A file that starts like a Windows program (MZ header pointing at "PE\0\0"), then filler.
inline std::string FakeProgram(size_t size, unsigned seed) {
  std::string bytes =
      "MZ" + std::string(58, '\0') + std::string("\x40\0\0\0", 4) + std::string("PE\0\0", 4);
  return bytes + Filler(size > bytes.size() ? size - bytes.size() : 0, seed);
}

using ScratchFolder = ::ScratchFolder;

} // namespace packer_test
