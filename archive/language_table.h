// A language table: the texts of the setup's windows in one language, compiled by the packer
// from a vendor's language file and carried in the archive as an entry of type kLanguageTable.
// Little-endian:
//   0   4          signature "TLNG"
//   4   2          the language's Windows id (1031: German as spoken in Germany)
//   6   2          the primary language it also serves (7: any German), 0 for none
//   8   2          flags (kRightToLeft)
//   10  2          count of texts
//   12  8 x count  each text's key (resources/ui_texts.h) and the offset of its text from the
//                  table's start
//   then the texts, UTF-8, each ended by a NUL; the table's last byte is a NUL.
// The table comes from a file anybody can edit: Read takes nothing it has not checked.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/buffer.h"

class SfxArchive;

constexpr uint32_t kLanguageTableSignature = 0x474E4C54; // "TLNG"
constexpr uint32_t kLanguageTableHeaderSize = 12;
constexpr uint32_t kLanguageTextRecordSize = 8;
// No table of a real language comes near this; a larger entry is not read at all.
constexpr uint32_t kMaxLanguageTableSize = 1u << 20;
constexpr uint16_t kRightToLeft = 1;

class LanguageTable {
public:
  // Reads the archive's entry index (below its entries' count) as the table; false, and the
  // table empty, unless it holds a whole, consistent one.
  bool Read(SfxArchive &archive, size_t index);
  // The same over bytes in memory.
  bool Read(const char *bytes, size_t size);

  // No table: nothing was read, or what was read was not one.
  bool empty() const { return size_ == 0; }
  // The header's fields; the table must not be empty.
  uint16_t language() const { return Field(4); }
  uint16_t neutral() const { return Field(6); }
  bool rightToLeft() const { return (Field(8) & kRightToLeft) != 0; }
  // The text stored under key; null when the table has none.
  const char *Find(uint32_t key) const;
  // The texts in table order (i below count()): the i-th one's key and text; null for a text
  // whose offset lies outside the table (it stays English).
  uint32_t count() const { return count_; }
  uint32_t KeyAt(uint32_t i) const;
  const char *TextAt(uint32_t i) const;

private:
  // Takes the bytes read into bytes_ when they are a table.
  bool Check(size_t size);
  uint16_t Field(size_t at) const;
  const unsigned char *Record(uint32_t i) const;

  base::Buffer<char> bytes_;
  size_t size_ = 0;
  uint32_t count_ = 0;
};

// How well a table serves the user's language: 2 its very language, 1 the primary language the
// table says it also serves, 0 not at all.
int LanguageMatch(const LanguageTable &table, uint16_t wanted);

// One text of a table about to be written.
struct LanguageText {
  uint32_t key;
  std::string text; // UTF-8, without NUL
};

// The bytes of a table; texts in the order given (a key given twice is found first).
std::string EncodeLanguageTable(uint16_t language, uint16_t neutral, uint16_t flags,
                                const LanguageText *texts, size_t count);
