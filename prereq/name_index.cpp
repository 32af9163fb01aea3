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
  entries_.clear();
  slots_.clear();
}

size_t NameIndex::Slot(std::string_view name) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = HashName(name) & mask;; slot = (slot + 1) & mask) {
    const uint32_t entry = slots_[slot];
    if (entry == 0 || entries_[entry - 1].name == name) {
      return slot;
    }
  }
}

void NameIndex::Rebuild(size_t slotCount) {
  slots_.assign(slotCount);
  for (size_t i = 0; i < entries_.size(); ++i) {
    slots_[Slot(entries_[i].name)] = static_cast<uint32_t>(i + 1);
  }
}

void NameIndex::emplace(std::string name, size_t index) {
  // At most half full, so every probe ends soon at an empty slot.
  if ((entries_.size() + 1) * 2 > slots_.size()) {
    Rebuild(slots_.empty() ? 8 : slots_.size() * 2);
  }
  const size_t slot = Slot(name);
  if (slots_[slot] == 0) {
    entries_.push_back(Entry{std::move(name), index});
    slots_[slot] = static_cast<uint32_t>(entries_.size());
  }
}

size_t NameIndex::find(std::string_view name) const {
  if (slots_.empty()) {
    return npos;
  }
  const uint32_t entry = slots_[Slot(name)];
  return entry == 0 ? npos : entries_[entry - 1].index;
}
