#include "base/buffer.h"

#include <cstdlib>

namespace base {

BufferStorage::BufferStorage(size_t count, size_t elementSize) {
  if (!Allocate(count, elementSize)) {
    OutOfMemory();
  }
}

BufferStorage::~BufferStorage() { std::free(data_); }

bool BufferStorage::Allocate(size_t count, size_t elementSize) {
  std::free(data_);
  count_ = 0;
  // A count whose bytes overflow is as unobtainable as memory the system refuses.
  data_ = count <= static_cast<size_t>(-1) / elementSize
              ? std::calloc(count != 0 ? count : 1, elementSize)
              : nullptr;
  if (data_ == nullptr) {
    return false;
  }
  count_ = count;
  return true;
}

} // namespace base
