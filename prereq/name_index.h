// Names to the index of their first occurrence: the lookups of the profile reader, in a flat
// open-addressed table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/object_vector.h"
#include "base/record_vector.h"

class NameIndex {
public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  void clear();
  // Adds name unless it is present already: the first occurrence wins. Taken by value, so a
  // name built for the index moves in without a copy.
  void emplace(std::string name, size_t index);
  // The index given with name, or npos.
  size_t find(std::string_view name) const;
  size_t size() const { return entries_.size(); }

private:
  struct Entry {
    std::string name;
    size_t index;
  };
  // The slot of name: the one holding it, or the empty one where it would go.
  size_t Slot(std::string_view name) const;
  void Rebuild(size_t slotCount);

  // The names in the order they came.
  base::ObjectVector<Entry> entries_;
  // Per slot, the position of its entry in entries_ plus one; 0 for an empty slot. The count
  // is a power of two.
  base::RecordVector<uint32_t> slots_;
};
