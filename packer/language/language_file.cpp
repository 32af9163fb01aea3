#include "packer/language/language_file.h"

#include <algorithm>

#include "archive/language_table.h"
#include "base/text.h"
#include "packer/language/document_rtf.h"
#include "packer/language/utf8.h"

namespace {

enum class Section { None, Language, Texts, Document, Unknown };

void Add(LanguageFile *file, bool error, int line, std::string message) {
  LanguageFinding finding;
  finding.error = error;
  finding.line = line;
  finding.message = std::move(message);
  file->findings.push_back(std::move(finding));
}

// A number as the Id and Neutral keys take it: decimal, or hexadecimal after 0x; false for
// anything else and for values past 65535.
bool ParseId(const std::string &text, uint32_t *value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 5) {
    return false;
  }
  uint32_t n = 0;
  for (char c : digits) {
    const char lower = text::LowerAscii(c);
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hex && lower >= 'a' && lower <= 'f') {
      digit = static_cast<uint32_t>(lower - 'a' + 10);
    } else {
      return false;
    }
    n = n * (hex ? 16 : 10) + digit;
  }
  *value = n;
  return n <= 0xFFFF;
}

// The names between braces, sorted, each once.
std::vector<std::string> Placeholders(const std::string &text) {
  std::vector<std::string> names;
  for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
    const size_t close = text.find('}', open);
    if (close == std::string::npos) {
      break;
    }
    names.push_back(text.substr(open, close - open + 1));
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string Joined(const std::vector<std::string> &names) {
  std::string out;
  for (const std::string &name : names) {
    out += (out.empty() ? "" : " ") + name;
  }
  return out.empty() ? "none" : out;
}

// The access key a text marks with &: the character after a single & ("&&" is an ampersand),
// ASCII letters in lower case; 0 when there is none.
uint32_t AccessKey(const std::string &text) {
  for (size_t at = 0; at + 1 < text.size(); ++at) {
    if (text[at] != '&') {
      continue;
    }
    if (text[at + 1] == '&') {
      ++at;
      continue;
    }
    size_t next = at + 1;
    uint32_t c = 0;
    if (NextUtf8(text, &next, &c)) {
      return c < 0x80 ? static_cast<uint32_t>(text::LowerAscii(static_cast<char>(c))) : c;
    }
    return 0;
  }
  return 0;
}

std::string KeyText(const std::string &text) {
  const size_t at = text.find('&');
  size_t end = at + 1;
  uint32_t c = 0;
  NextUtf8(text, &end, &c);
  return text.substr(at + 1, end - at - 1);
}

const char *WindowName(TextWindow window) {
  switch (window) {
  case TextWindow::Status:
    return "the status window";
  case TextWindow::Sheet:
  case TextWindow::Information:
    return "the information page";
  case TextWindow::Prerequisites:
    return "the prerequisites page";
  case TextWindow::Download:
    return "the download window";
  case TextWindow::Launch:
    return "the launch window";
  case TextWindow::None:
    break;
  }
  return "";
}

// Whether texts of these windows show at once: a page shares the sheet's buttons.
bool ShowTogether(TextWindow a, TextWindow b) {
  if (a == b) {
    return a != TextWindow::None;
  }
  const bool page = a == TextWindow::Information || a == TextWindow::Prerequisites ||
                    b == TextWindow::Information || b == TextWindow::Prerequisites;
  return page && (a == TextWindow::Sheet || b == TextWindow::Sheet);
}

void CheckAccessKeys(LanguageFile *file) {
  struct Shown {
    const CatalogueText *text;
    std::string value;
    bool given;
  };
  std::vector<Shown> shown;
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    const CatalogueText &text = CatalogueTexts()[i];
    if (text.window == TextWindow::None) {
      continue;
    }
    Shown entry = {&text, text.english, false};
    for (const auto &given : file->texts) {
      if (given.first == &text) {
        entry.value = given.second;
        entry.given = true;
      }
    }
    shown.push_back(entry);
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    const uint32_t key = AccessKey(shown[i].value);
    for (size_t j = i + 1; key != 0 && j < shown.size(); ++j) {
      if ((shown[i].given || shown[j].given) &&
          ShowTogether(shown[i].text->window, shown[j].text->window) &&
          AccessKey(shown[j].value) == key) {
        const TextWindow window = shown[i].text->window == TextWindow::Sheet
                                      ? shown[j].text->window
                                      : shown[i].text->window;
        Add(file, false, 0,
            "the access key '" + KeyText(shown[i].value) + "' of " + shown[i].text->name + " (\"" +
                shown[i].value + "\") is also the one of " + shown[j].text->name + " (\"" +
                shown[j].value + "\") on " + WindowName(window) +
                ": Alt and the key reaches only one of them");
      }
    }
  }
}

void CheckMissing(LanguageFile *file) {
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    const CatalogueText &text = CatalogueTexts()[i];
    bool given = false;
    for (const auto &entry : file->texts) {
      given = given || entry.first == &text;
    }
    if (!given) {
      Add(file, false, 0,
          std::string("no text for ") + text.name + ": the setup shows the English one" +
              (text.kind == TextKind::Document ? std::string(" (no [Document] section)")
                                               : " \"" + std::string(text.english) + "\""));
    }
  }
}

void ReadLanguageKey(const std::string &key, const std::string &value, int line, LanguageFile *file,
                     bool *hasId) {
  uint32_t number = 0;
  if (key == "Id") {
    if (!ParseId(value, &number) || number == 0 || (number & 0x3FF) == 0) {
      Add(file, true, line,
          "Id '" + value + "' is not a Windows language id (a number such as 1031 or 0x0407)");
      return;
    }
    file->language = static_cast<uint16_t>(number);
    *hasId = true;
  } else if (key == "Neutral") {
    if (!ParseId(value, &number) || number == 0 || number > 0x3FF) {
      Add(file, true, line,
          "Neutral '" + value + "' is not a primary language id (a number such as 7)");
      return;
    }
    file->neutral = static_cast<uint16_t>(number);
  } else if (key == "Name") {
    file->name = value;
  } else {
    Add(file, true, line, "unknown key '" + key + "' in [Language] (Id, Neutral, Name)");
  }
}

void ReadText(const std::string &name, const std::string &value, int line, LanguageFile *file) {
  const CatalogueText *text = FindCatalogueText(name);
  if (text == nullptr || text->kind != TextKind::Plain) {
    Add(file, true, line, "unknown text name '" + name + "'");
    return;
  }
  for (const auto &given : file->texts) {
    if (given.first == text) {
      Add(file, true, line, name + " is given twice");
      return;
    }
  }
  if (value.empty()) {
    Add(file, true, line, name + " is empty: give its text, or leave the line out for English");
    return;
  }
  // A NUL would end the text where the setup reads it; the others are no text a window shows.
  for (char c : value) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      Add(file, true, line,
          name + " holds a control character (code " + std::to_string(static_cast<int>(c)) + ")");
      return;
    }
  }
  const std::vector<std::string> english = Placeholders(text->english);
  const std::vector<std::string> translated = Placeholders(value);
  if (english != translated) {
    Add(file, true, line,
        name + " has the placeholders " + Joined(translated) + " where the English text \"" +
            text->english + "\" has " + Joined(english));
    return;
  }
  file->texts.emplace_back(text, value);
}

// "key = value" with the value's blanks trimmed and its quotes, if any, removed.
bool SplitLine(const std::string &line, std::string *key, std::string *value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) {
    return false;
  }
  *key = std::string(text::TrimSpacesAndTabs(std::string_view(line).substr(0, equals)));
  *value = std::string(text::TrimSpacesAndTabs(std::string_view(line).substr(equals + 1)));
  if (value->size() >= 2 && value->front() == '"' && value->back() == '"') {
    *value = value->substr(1, value->size() - 2);
  }
  return !key->empty();
}

} // namespace

int LanguageFile::errorCount() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [](const LanguageFinding &f) { return f.error; }));
}

int LanguageFile::warningCount() const { return static_cast<int>(findings.size()) - errorCount(); }

LanguageFile ParseLanguageFile(const std::string &bytes) {
  LanguageFile file;
  std::string text = bytes;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text.erase(0, 3);
  }
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    Add(&file, true, 0, "the file is UTF-16: save it as UTF-8");
    return file;
  }
  Section section = Section::None;
  bool hasId = false;
  bool hasDocument = false;
  std::string document;
  int documentLine = 0;
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (!IsUtf8(line)) {
      Add(&file, true, number, "the line is not UTF-8: save the file as UTF-8");
      continue;
    }
    if (section == Section::Document) {
      document += line + "\n";
      continue;
    }
    const std::string trimmed(text::TrimSpacesAndTabs(line));
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') {
      continue;
    }
    if (trimmed.front() == '[' && trimmed.back() == ']') {
      const std::string name = trimmed.substr(1, trimmed.size() - 2);
      section = name == "Language"   ? Section::Language
                : name == "Texts"    ? Section::Texts
                : name == "Document" ? Section::Document
                                     : Section::Unknown;
      if (section == Section::Unknown) {
        Add(&file, true, number,
            "unknown section [" + name + "] (the sections are [Language], [Texts], [Document])");
      }
      if (section == Section::Document) {
        hasDocument = true;
        documentLine = number;
      }
      continue;
    }
    std::string key;
    std::string value;
    if (section == Section::Unknown) {
      continue;
    }
    if (section == Section::None || !SplitLine(line, &key, &value)) {
      Add(&file, true, number, "expected Name = text in a section, not '" + trimmed + "'");
      continue;
    }
    if (section == Section::Language) {
      ReadLanguageKey(key, value, number, &file, &hasId);
    } else {
      ReadText(key, value, number, &file);
    }
  }
  if (!hasId) {
    Add(&file, true, 0, "no language id: [Language] needs Id = <Windows language id>");
  } else if (file.neutral != 0 && file.neutral != (file.language & 0x3FF)) {
    Add(&file, true, 0,
        "Neutral " + std::to_string(file.neutral) + " is not the primary language of Id " +
            std::to_string(file.language) + " (that is " + std::to_string(file.language & 0x3FF) +
            ")");
  }
  if (hasDocument) {
    int line = 0;
    const std::string problem = DocumentProblem(document, &line);
    if (!problem.empty()) {
      Add(&file, true, documentLine + line, problem);
    } else if (document.find_first_not_of(" \t\r\n") == std::string::npos) {
      Add(&file, true, documentLine, "the [Document] section is empty");
    } else {
      file.texts.emplace_back(FindCatalogueText("InformationPage.Document"), document);
    }
  }
  CheckMissing(&file);
  CheckAccessKeys(&file);
  return file;
}

bool IsRightToLeftLanguage(uint16_t language) {
  // Arabic, Hebrew, Urdu, Persian, Yiddish, Sindhi, Syriac, Pashto, Divehi, Uyghur, Central
  // Kurdish.
  static const uint16_t kPrimary[] = {0x01, 0x0D, 0x20, 0x29, 0x3D, 0x59,
                                      0x5A, 0x63, 0x65, 0x80, 0x92};
  for (uint16_t primary : kPrimary) {
    if ((language & 0x3FF) == primary) {
      return true;
    }
  }
  return false;
}

std::string CompileLanguageFile(const LanguageFile &file) {
  const bool rightToLeft = IsRightToLeftLanguage(file.language);
  std::vector<LanguageText> texts;
  for (const auto &given : file.texts) {
    texts.push_back({given.first->key, given.first->kind == TextKind::Document
                                           ? DocumentRtf(given.second, file.language, rightToLeft)
                                           : given.second});
  }
  return EncodeLanguageTable(file.language, file.neutral, rightToLeft ? kRightToLeft : 0,
                             texts.data(), texts.size());
}

std::string LanguageEntryName(uint16_t language) {
  return "language-" + std::to_string(language) + ".table";
}
