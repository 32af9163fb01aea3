// Every text a language file may give the setup's windows: its name in the file, the key its
// translation is stored under (resources/ui_texts.h), its English, and the window it shows in.
// A new text of the setup is one line of the catalogue.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The windows whose access keys must differ; None for texts that have none (message boxes,
// list columns, the Action list, forms the code fills in).
enum class TextWindow { None, Status, Sheet, Information, Prerequisites, Download, Launch };

enum class TextKind {
  Plain,    // one line of text
  Document, // the information page's document: lines of a small markup, made Rich Text
};

struct CatalogueText {
  const char *name;
  uint32_t key;
  const char *english;
  TextWindow window;
  TextKind kind;
};

// The catalogue in the order a language file lists its texts.
const CatalogueText *CatalogueTexts();
size_t CatalogueSize();
// The text of that name (case-sensitive); null when there is none.
const CatalogueText *FindCatalogueText(const std::string &name);
