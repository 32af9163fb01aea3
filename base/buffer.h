// A block of count elements on the heap, owned and freed with the object: for copy and read
// buffers and converted text. The elements are trivially copyable and start out zero.
#pragma once
#include <cstddef>
#include <type_traits>

#include "base/vector_storage.h"

namespace base {

// The untyped block: its allocation and the bounds check, once.
class BufferStorage {
public:
  BufferStorage(const BufferStorage &) = delete;
  BufferStorage &operator=(const BufferStorage &) = delete;
  ~BufferStorage();

  size_t size() const { return count_; }

protected:
  BufferStorage() = default;
  // count zeroed elements of elementSize bytes that must be had: a failure ends the process, as
  // operator new does.
  BufferStorage(size_t count, size_t elementSize);
  // count zeroed elements of elementSize bytes in place of what was there; false (and empty)
  // when the memory cannot be had.
  bool Allocate(size_t count, size_t elementSize);
  void *At(size_t index, size_t elementSize) const {
    if (index >= count_) {
      IndexOutOfRange();
    }
    return static_cast<char *>(data_) + index * elementSize;
  }

  void *data_ = nullptr;
  size_t count_ = 0;
};

template <class T> class Buffer : public BufferStorage {
  static_assert(std::is_trivially_copyable<T>::value, "a buffer holds plain elements");

public:
  Buffer() = default;
  // Allocation that must succeed: a failure ends the process, as operator new does.
  explicit Buffer(size_t count) : BufferStorage(count, sizeof(T)) {}
  // For blocks large enough that running out of memory is a result the caller reports.
  bool Allocate(size_t count) { return BufferStorage::Allocate(count, sizeof(T)); }

  T *get() { return static_cast<T *>(data_); }
  const T *get() const { return static_cast<const T *>(data_); }
  T &operator[](size_t index) { return *static_cast<T *>(At(index, sizeof(T))); }
  const T &operator[](size_t index) const { return *static_cast<const T *>(At(index, sizeof(T))); }
};

} // namespace base
