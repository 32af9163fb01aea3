#include "base/object_vector.h"

namespace base {

void PointerList::DestroyAll(Destroy destroy) {
  // From the last to the first, as members and arrays are destroyed.
  while (size_ > 0) {
    --size_;
    destroy(static_cast<void **>(data_)[size_]);
  }
}

void PointerList::DestroyLast(Destroy destroy) {
  destroy(Slot(size_ - 1));
  --size_;
}

} // namespace base
