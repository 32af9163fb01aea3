// A vendor's language file, read as the packer and "tessara-pack check --language" read it. A
// UTF-8 text file (a byte-order mark is allowed) of three sections:
//
//   ; a comment (also #), on a line of its own
//   [Language]
//   Id = 1031          the Windows language id, decimal or 0x hexadecimal
//   Neutral = 7        optional: the primary language the file also serves (Id's own)
//   Name = Deutsch     optional: shown by check
//   [Texts]
//   PrerequisitesPage.Browse = &Durchsuchen...
//   ...                one line a text, by its name (text_catalogue.cpp); a value may be put
//                      in double quotes to keep blanks at either end; & marks an access key
//   [Document]
//   ...                the information page's document, to the end of the file, one
//                      paragraph a line: "# " starts the heading, "- " a list item, **words**
//                      are emphasised (bold italic), an empty line is an empty paragraph
//
// Refused (errors): bytes that are not UTF-8, an unknown section, key or text name, a text given
// twice, empty or holding a control character (a NUL would cut it short), a missing or
// malformed language id, a neutral language other than the id's own, a text whose
// {placeholders} differ from the English text's, unbalanced ** in the document. Warned: every text
// the file lacks (the setup shows its English), and two texts of one window with the same access
// key.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "packer/language/text_catalogue.h"

struct LanguageFinding {
  bool error = false;
  int line = 0; // 0 for the file as a whole
  std::string message;
};

struct LanguageFile {
  uint16_t language = 0;
  uint16_t neutral = 0;
  std::string name;
  // The texts given, in file order; the document's value is its markup.
  std::vector<std::pair<const CatalogueText *, std::string>> texts;
  std::vector<LanguageFinding> findings;

  int errorCount() const;
  int warningCount() const;
};

// Reads bytes as a language file; every problem becomes a finding.
LanguageFile ParseLanguageFile(const std::string &bytes);

// Whether the language (by its primary language) is written right to left.
bool IsRightToLeftLanguage(uint16_t language);

// The table the setup carries for a file without errors (archive/language_table.h).
std::string CompileLanguageFile(const LanguageFile &file);

// The archive entry's name of a language's table: "language-1031.table".
std::string LanguageEntryName(uint16_t language);
