// A list of records: elements that are trivially copyable (numbers, enums, plain structs of
// them), kept by value and moved as bytes. See base/vector_storage.h for the size rules.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <new>
#include <type_traits>

#include "base/vector_storage.h"

namespace base {

template <class T> class RecordVector : public VectorStorage {
  static_assert(std::is_trivially_copyable<T>::value, "a record is copied as bytes");

public:
  RecordVector() = default;
  RecordVector(std::initializer_list<T> items) {
    for (const T &item : items) {
      push_back(item);
    }
  }
  RecordVector(RecordVector &&) noexcept = default;
  RecordVector &operator=(RecordVector &&) noexcept = default;
  RecordVector(const RecordVector &other) : VectorStorage() { CopyBytes(other, sizeof(T)); }
  RecordVector &operator=(const RecordVector &other) {
    CopyBytes(other, sizeof(T));
    return *this;
  }

  T &push_back(const T &value) { return *new (Append(sizeof(T))) T(value); }
  // count elements, each as T() makes it.
  void assign(size_t count) {
    size_ = 0;
    Reserve(count, sizeof(T));
    while (size_ < count) {
      new (Append(sizeof(T))) T();
    }
  }
  void clear() { size_ = 0; }
  void reserve(size_t count) { Reserve(count, sizeof(T)); }

  T &operator[](size_t index) { return *static_cast<T *>(At(index, sizeof(T))); }
  const T &operator[](size_t index) const { return *static_cast<const T *>(At(index, sizeof(T))); }
  T &back() { return (*this)[size_ - 1]; }

  T *begin() { return static_cast<T *>(data_); }
  T *end() { return begin() + size_; }
  const T *begin() const { return static_cast<const T *>(data_); }
  const T *end() const { return begin() + size_; }
};

} // namespace base
