// Names to the index of their first occurrence: the lookups of the profile reader, in a flat
// open-addressed table. It does what the standard hash map did there at a fraction of the
// code it brought into the setup program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class NameIndex {
public:
  using Entry = std::pair<std::string, size_t>;

  void clear();
  // Adds name unless it is present already: the first occurrence wins. Taken by value, so a
  // name built for the index moves in without a copy.
  void emplace(std::string name, size_t index);
  // The entry of name, or end().
  const Entry *find(std::string_view name) const;
  const Entry *end() const { return nullptr; }
  size_t size() const { return entries_.size(); }

private:
  // Slot of name: the one holding it, or the empty one where it would go.
  size_t Slot(std::string_view name) const;
  void Rebuild(size_t slotCount);

  std::vector<Entry> entries_;
  // 0 empty, else the entry's index + 1; the count is a power of two.
  std::vector<uint32_t> slots_;
};
