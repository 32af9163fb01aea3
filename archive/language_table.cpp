#include "archive/language_table.h"

#include <cstring>

#include "archive/archive_format.h"
#include "archive/sfx_archive.h"

namespace {

uint16_t ReadLe16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void Append16(std::string *out, uint32_t value) {
  out->push_back(static_cast<char>(value));
  out->push_back(static_cast<char>(value >> 8));
}

void Append32(std::string *out, uint32_t value) {
  Append16(out, value);
  Append16(out, value >> 16);
}

} // namespace

bool LanguageTable::Read(SfxArchive &archive, size_t index) {
  size_ = 0;
  return archive.ReadEntry(index, kMaxLanguageTableSize, &bytes_) && Check(bytes_.size());
}

bool LanguageTable::Read(const char *bytes, size_t size) {
  size_ = 0;
  if (size > kMaxLanguageTableSize || !bytes_.Allocate(size)) {
    return false;
  }
  std::memcpy(bytes_.get(), bytes, size);
  return Check(size);
}

bool LanguageTable::Check(size_t size) {
  const auto *p = reinterpret_cast<const unsigned char *>(bytes_.get());
  // The last byte ends the last text, so every offset below the size starts a whole text.
  if (size <= kLanguageTableHeaderSize || p[size - 1] != '\0' ||
      ReadLe32(p) != kLanguageTableSignature) {
    return false;
  }
  // The records must lie inside; each text's offset is checked where it is used.
  const uint32_t count = ReadLe16(p + 10);
  if (kLanguageTableHeaderSize + count * kLanguageTextRecordSize >= size) {
    return false;
  }
  size_ = size;
  count_ = count;
  return true;
}

uint16_t LanguageTable::Field(size_t at) const {
  return ReadLe16(reinterpret_cast<const unsigned char *>(bytes_.get()) + at);
}

const unsigned char *LanguageTable::Record(uint32_t i) const {
  return reinterpret_cast<const unsigned char *>(bytes_.get()) + kLanguageTableHeaderSize +
         i * kLanguageTextRecordSize;
}

uint32_t LanguageTable::KeyAt(uint32_t i) const { return ReadLe32(Record(i)); }

const char *LanguageTable::TextAt(uint32_t i) const {
  // Every offset inside the table starts a whole text: its last byte is a NUL.
  const uint32_t offset = ReadLe32(Record(i) + 4);
  return offset < size_ ? bytes_.get() + offset : nullptr;
}

const char *LanguageTable::Find(uint32_t key) const {
  for (uint32_t i = 0; i < count_; ++i) {
    if (KeyAt(i) == key) {
      return TextAt(i);
    }
  }
  return nullptr;
}

int LanguageMatch(const LanguageTable &table, uint16_t wanted) {
  if (table.empty()) {
    return 0;
  }
  if (table.language() == wanted) {
    return 2;
  }
  // The primary language is the id's low ten bits.
  return table.neutral() != 0 && table.neutral() == (wanted & 0x3FF) ? 1 : 0;
}

std::string EncodeLanguageTable(uint16_t language, uint16_t neutral, uint16_t flags,
                                const LanguageText *texts, size_t count) {
  std::string table;
  Append32(&table, kLanguageTableSignature);
  Append16(&table, language);
  Append16(&table, neutral);
  Append16(&table, flags);
  Append16(&table, static_cast<uint32_t>(count));
  uint32_t offset =
      kLanguageTableHeaderSize + static_cast<uint32_t>(count) * kLanguageTextRecordSize;
  for (size_t i = 0; i < count; ++i) {
    Append32(&table, texts[i].key);
    Append32(&table, offset);
    offset += static_cast<uint32_t>(texts[i].text.size()) + 1;
  }
  for (size_t i = 0; i < count; ++i) {
    table += texts[i].text;
    table.push_back('\0');
  }
  if (count == 0) {
    table.push_back('\0'); // a table ends with a NUL, even one without texts
  }
  return table;
}
