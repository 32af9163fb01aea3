#include "prereq/name_index.h"

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
  entries_.clear();
  slots_.clear();
}

size_t NameIndex::Slot(std::string_view name) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = HashName(name) & mask;; slot = (slot + 1) & mask) {
    const uint32_t at = slots_[slot];
    if (at == 0 || entries_[at - 1].first == name) {
      return slot;
    }
  }
}

void NameIndex::Rebuild(size_t slotCount) {
  slots_.assign(slotCount, 0u);
  uint32_t number = 0;
  for (const Entry &entry : entries_) {
    slots_[Slot(entry.first)] = ++number;
  }
}

void NameIndex::emplace(std::string name, size_t index) {
  // At most half full, so every probe ends soon at an empty slot.
  if ((entries_.size() + 1) * 2 > slots_.size()) {
    Rebuild(slots_.empty() ? 16 : slots_.size() * 2);
  }
  uint32_t &slot = slots_[Slot(name)];
  if (slot == 0) {
    entries_.emplace_back(std::move(name), index);
    slot = static_cast<uint32_t>(entries_.size());
  }
}

const NameIndex::Entry *NameIndex::find(std::string_view name) const {
  if (slots_.empty()) {
    return end();
  }
  const uint32_t at = slots_[Slot(name)];
  return at == 0 ? end() : &entries_[at - 1];
}
