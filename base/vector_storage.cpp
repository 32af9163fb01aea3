#include "base/vector_storage.h"

#include <cstdlib>
#include <cstring>

namespace base {

void IndexOutOfRange() { std::abort(); }

void OutOfMemory() { std::abort(); }

VectorStorage::~VectorStorage() { std::free(data_); }

void VectorStorage::Reserve(size_t count, size_t elementSize) {
  if (count <= capacity_) {
    return;
  }
  // A count whose bytes do not fit the address space can never be met.
  void *grown = count <= static_cast<size_t>(-1) / elementSize
                    ? std::realloc(data_, count * elementSize)
                    : nullptr;
  if (grown == nullptr) {
    OutOfMemory();
  }
  data_ = grown;
  capacity_ = count;
}

void *VectorStorage::Append(size_t elementSize) {
  if (size_ == capacity_) {
    Reserve(capacity_ < 4 ? 4 : capacity_ * 2, elementSize);
  }
  void *slot = static_cast<char *>(data_) + size_ * elementSize;
  std::memset(slot, 0, elementSize);
  ++size_;
  return slot;
}

void VectorStorage::CopyBytes(const VectorStorage &other, size_t elementSize) {
  if (this == &other) {
    return;
  }
  size_ = 0;
  Reserve(other.size_, elementSize);
  if (other.size_ != 0) {
    std::memcpy(data_, other.data_, other.size_ * elementSize);
  }
  size_ = other.size_;
}

void VectorStorage::Swap(VectorStorage &other) noexcept {
  void *data = data_;
  const size_t size = size_;
  const size_t capacity = capacity_;
  data_ = other.data_;
  size_ = other.size_;
  capacity_ = other.capacity_;
  other.data_ = data;
  other.size_ = size;
  other.capacity_ = capacity;
}

} // namespace base
