// Helpers shared by the fuzz targets: a cursor over the input, a scratch folder of the
// process, and the check that stops the run on a broken promise.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A finding: the fuzzer records the input that led here.
#define FUZZ_CHECK(condition)                                                                      \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);     \
      std::abort();                                                                                \
    }                                                                                              \
  } while (0)

class FuzzInput {
public:
  FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Number(uint32_t bound) {
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) {
      n = (n << 8) | Byte();
    }
    return bound == 0 ? n : n % bound;
  }
  // The bytes up to the next newline (not included), or to the end.
  std::string Line() {
    std::string out;
    while (pos_ < size_ && data_[pos_] != '\n') {
      out.push_back(static_cast<char>(data_[pos_++]));
    }
    if (pos_ < size_) {
      ++pos_;
    }
    return out;
  }
  std::string Rest() {
    std::string out(reinterpret_cast<const char *>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return out;
  }

private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

// A folder of this process under the temporary folder, made once; ends with '/'.
std::string FuzzScratchFolder();
