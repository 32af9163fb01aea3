// A list of objects of any type (strings, records holding strings, lists): each element is made
// on the heap and the list keeps its address, so an element never moves and a reference to it
// stays good while the list grows. See base/vector_storage.h for the size rules.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>

#include "base/vector_storage.h"

namespace base {

// The pointers of an ObjectVector and their one destruction loop.
class PointerList : public VectorStorage {
public:
  using Destroy = void (*)(void *);

protected:
  PointerList() = default;
  PointerList(PointerList &&) noexcept = default;
  PointerList &operator=(PointerList &&) noexcept = default;
  // Destroys every element with destroy and empties the list.
  void DestroyAll(Destroy destroy);
  // Destroys the last element (there must be one) and takes it off the list.
  void DestroyLast(Destroy destroy);
  void *&Slot(size_t index) const { return *static_cast<void **>(At(index, sizeof(void *))); }
  void Add(void *element) { *static_cast<void **>(Append(sizeof(void *))) = element; }
};

template <class T> class ObjectVector : public PointerList {
public:
  ObjectVector() = default;
  ObjectVector(std::initializer_list<T> items) {
    for (const T &item : items) {
      emplace_back(item);
    }
  }
  // A copy holds copies of the elements.
  ObjectVector(const ObjectVector &other) : PointerList() { *this = other; }
  ObjectVector &operator=(const ObjectVector &other) {
    if (this != &other) {
      clear();
      for (const T &item : other) {
        emplace_back(item);
      }
    }
    return *this;
  }
  ObjectVector(ObjectVector &&) noexcept = default;
  ObjectVector &operator=(ObjectVector &&other) noexcept {
    PointerList::operator=(std::move(other));
    return *this;
  }
  ~ObjectVector() { DestroyAll(&Delete); }

  template <class... Args> T &emplace_back(Args &&...args) {
    T *element = new T(std::forward<Args>(args)...);
    Add(element);
    return *element;
  }
  T &push_back(T &&value) { return emplace_back(std::move(value)); }
  T &push_back(const T &value) { return emplace_back(value); }
  void pop_back() { DestroyLast(&Delete); }
  void clear() { DestroyAll(&Delete); }

  T &operator[](size_t index) { return *static_cast<T *>(Slot(index)); }
  const T &operator[](size_t index) const { return *static_cast<const T *>(Slot(index)); }
  T &back() { return (*this)[size_ - 1]; }
  const T &back() const { return (*this)[size_ - 1]; }

  // Walks the elements in order; what it points at is the element itself.
  template <class E> class Iterator {
  public:
    explicit Iterator(void *const *at) : at_(at) {}
    E &operator*() const { return *static_cast<E *>(*at_); }
    E *operator->() const { return static_cast<E *>(*at_); }
    Iterator &operator++() {
      ++at_;
      return *this;
    }
    bool operator!=(const Iterator &other) const { return at_ != other.at_; }
    bool operator==(const Iterator &other) const { return at_ == other.at_; }

  private:
    void *const *at_;
  };
  Iterator<T> begin() { return Iterator<T>(Pointers()); }
  Iterator<T> end() { return Iterator<T>(Pointers() + size_); }
  Iterator<const T> begin() const { return Iterator<const T>(Pointers()); }
  Iterator<const T> end() const { return Iterator<const T>(Pointers() + size_); }

private:
  static void Delete(void *element) { delete static_cast<T *>(element); }
  void *const *Pointers() const { return static_cast<void *const *>(data_); }
};

// A list of strings: the searches' answers, folder listings, names.
using StringList = ObjectVector<std::string>;

} // namespace base
