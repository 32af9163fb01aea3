// The untyped part of base::RecordVector and base::ObjectVector: elements of one size in one
// heap block that doubles when full. Growth, copying and the bounds check live here once, out of
// line, so that each element type adds only a few inline lines to the setup where std::vector
// would bring its own growth, fill and destruction code for every type it holds.
//
// The size rules of the setup, written once: lists hold records (RecordVector) or objects
// (ObjectVector, which keeps pointers, so its elements never move); fixed blocks are
// base::Buffer; text is std::string, built with text::Builder. A failed bounds check or an
// allocation that cannot be met ends the process, as the standard library's checked mode and
// operator new do in the setup.
#pragma once
#include <cstddef>

namespace base {

// Each ends the process: an index past the end is a programming error, and a setup that cannot
// get the memory for its lists cannot go on.
[[noreturn]] void IndexOutOfRange();
[[noreturn]] void OutOfMemory();

class VectorStorage {
public:
  VectorStorage() = default;
  VectorStorage(VectorStorage &&other) noexcept { Swap(other); }
  VectorStorage &operator=(VectorStorage &&other) noexcept {
    Swap(other);
    return *this;
  }
  VectorStorage(const VectorStorage &) = delete;
  VectorStorage &operator=(const VectorStorage &) = delete;
  ~VectorStorage();

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

protected:
  // Room for count elements of elementSize bytes; what is there moves as bytes.
  void Reserve(size_t count, size_t elementSize);
  // One more element at the end, all its bytes zero; returns its place.
  void *Append(size_t elementSize);
  // Replaces the elements with a byte copy of other's.
  void CopyBytes(const VectorStorage &other, size_t elementSize);
  void Swap(VectorStorage &other) noexcept;
  void *At(size_t index, size_t elementSize) const {
    if (index >= size_) {
      IndexOutOfRange();
    }
    return static_cast<char *>(data_) + index * elementSize;
  }

  void *data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

} // namespace base
