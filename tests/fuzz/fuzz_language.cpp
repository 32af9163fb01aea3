// Languages from anybody's hands. The bytes as a language table inside a setup (the setup
// reads it): read or refused, and a table read gives each text within it, or none, never a
// crash. The same bytes as a vendor's language file (the packer reads it): refused with
// findings, or compiled into a table that the setup reads back text for text.
#include <cstring>

#include "archive/language_table.h"
#include "packer/language/language_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const char *bytes = reinterpret_cast<const char *>(data);
  LanguageTable table;
  if (table.Read(bytes, size)) {
    FUZZ_CHECK(!table.empty() && size > kLanguageTableHeaderSize);
    for (uint32_t i = 0; i < table.count(); ++i) {
      const char *text = table.TextAt(i);
      FUZZ_CHECK(text == nullptr || std::strlen(text) < size);
      // A key's text is that of its first record (the packer writes each key once).
      uint32_t first = 0;
      while (table.KeyAt(first) != table.KeyAt(i)) {
        ++first;
      }
      FUZZ_CHECK(table.Find(table.KeyAt(i)) == table.TextAt(first));
    }
    const int match = LanguageMatch(table, table.language());
    FUZZ_CHECK(match == 2);
    FUZZ_CHECK(LanguageMatch(table, static_cast<uint16_t>(table.language() ^ 0x400)) <= 1);
  } else {
    FUZZ_CHECK(table.empty() && LanguageMatch(table, 0x407) == 0);
  }

  const LanguageFile file = ParseLanguageFile(std::string(bytes, size));
  if (file.errorCount() > 0) {
    return 0;
  }
  const std::string compiled = CompileLanguageFile(file);
  LanguageTable back;
  FUZZ_CHECK(back.Read(compiled.data(), compiled.size()));
  FUZZ_CHECK(back.language() == file.language && back.neutral() == file.neutral);
  for (const auto &text : file.texts) {
    const char *stored = back.Find(text.first->key);
    FUZZ_CHECK(stored != nullptr);
    FUZZ_CHECK(text.first->kind != TextKind::Plain || text.second == stored);
  }
  return 0;
}
