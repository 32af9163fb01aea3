// Names to the index of their first occurrence: the lookups of the profile reader, in a flat
// open-addressed table. It does what the standard hash map did there at a fraction of the
// code it brought into the setup program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class NameIndex {
public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  void clear();
  // Adds name unless it is present already: the first occurrence wins. Taken by value, so a
  // name built for the index moves in without a copy. The index must fit 32 bits.
  void emplace(std::string name, size_t index);
  // The index given with name, or npos.
  size_t find(std::string_view name) const;
  size_t size() const { return names_.size(); }

private:
  // Slot of name: the one holding it, or the empty one where it would go.
  size_t Slot(std::string_view name) const;
  void Rebuild(size_t slotCount);

  // The names in the order they came; a list of strings grows through code the setup carries
  // for other lists already, where a list of name and index pairs brought its own.
  std::vector<std::string> names_;
  // Two numbers a slot: 0 for empty, else the name's position in names_ + 1; then its index.
  // The slot count is a power of two.
  std::vector<uint32_t> slots_;
};
