// Little-endian fields inside byte strings, for the packer's readers of PE and icon files.
// Callers check bounds first (Fits); the accessors then never read past the end.
#pragma once
#include <cstdint>
#include <string>

namespace bytes {

inline bool Fits(const std::string &s, uint64_t at, uint64_t size) {
  return at <= s.size() && size <= s.size() - at;
}

inline uint16_t Get16(const std::string &s, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                               (static_cast<unsigned char>(s[at + 1]) << 8));
}

inline uint32_t Get32(const std::string &s, size_t at) {
  return Get16(s, at) | (static_cast<uint32_t>(Get16(s, at + 2)) << 16);
}

inline void Put16(std::string *s, size_t at, uint32_t value) {
  (*s)[at] = static_cast<char>(value & 0xFF);
  (*s)[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string *s, size_t at, uint32_t value) {
  Put16(s, at, value & 0xFFFF);
  Put16(s, at + 2, value >> 16);
}

inline void Append16(std::string *s, uint32_t value) {
  s->push_back(static_cast<char>(value & 0xFF));
  s->push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void Append32(std::string *s, uint32_t value) {
  Append16(s, value & 0xFFFF);
  Append16(s, value >> 16);
}

inline uint32_t AlignUp(uint32_t value, uint32_t alignment) {
  return alignment == 0 ? value : (value + alignment - 1) / alignment * alignment;
}

inline void PadTo(std::string *s, size_t alignment) {
  while (s->size() % alignment != 0) {
    s->push_back('\0');
  }
}

} // namespace bytes
