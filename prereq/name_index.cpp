#include "prereq/name_index.h"

#include <utility>

namespace {

uint32_t HashName(std::string_view name) {
  uint32_t hash = 2166136261u; // FNV-1a
  for (char c : name) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return hash;
}

} // namespace

void NameIndex::clear() {
  names_.clear();
  slots_.clear();
}

size_t NameIndex::Slot(std::string_view name) const {
  const size_t mask = slots_.size() / 2 - 1;
  for (size_t slot = HashName(name) & mask;; slot = (slot + 1) & mask) {
    const uint32_t at = slots_[2 * slot];
    if (at == 0 || names_[at - 1] == name) {
      return slot;
    }
  }
}

void NameIndex::Rebuild(size_t slotCount) {
  std::vector<uint32_t> old;
  old.swap(slots_);
  slots_.assign(2 * slotCount, 0u);
  // Every name is present once, so the order they go back in does not change any answer.
  for (size_t i = 0; i < old.size(); i += 2) {
    if (old[i] != 0) {
      const size_t slot = Slot(names_[old[i] - 1]);
      slots_[2 * slot] = old[i];
      slots_[2 * slot + 1] = old[i + 1];
    }
  }
}

void NameIndex::emplace(std::string name, size_t index) {
  // At most half full, so every probe ends soon at an empty slot.
  if ((names_.size() + 1) * 4 > slots_.size()) {
    Rebuild(slots_.empty() ? 16 : slots_.size());
  }
  const size_t slot = Slot(name);
  if (slots_[2 * slot] == 0) {
    names_.push_back(std::move(name));
    slots_[2 * slot] = static_cast<uint32_t>(names_.size());
    slots_[2 * slot + 1] = static_cast<uint32_t>(index);
  }
}

size_t NameIndex::find(std::string_view name) const {
  if (slots_.empty()) {
    return npos;
  }
  const size_t slot = Slot(name);
  return slots_[2 * slot] == 0 ? npos : slots_[2 * slot + 1];
}
