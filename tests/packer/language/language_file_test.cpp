// Language files as the packer reads them: every kind of fault a vendor's file can have. (The
// shipped files are checked whole by the shipped_languages.check entry, and read back through
// their tables by the language fuzz target's corpus.)
#include "packer/language/language_file.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string Messages(const LanguageFile &file) {
  std::string out;
  for (const LanguageFinding &f : file.findings) {
    out += (f.error ? "error " : "warning ") + std::to_string(f.line) + ": " + f.message + "\n";
  }
  return out;
}

const char kHeader[] = "[Language]\nId = 1031\n[Texts]\n";

TEST(LanguageFile, RefusesWhatTheSetupCouldNotShowAndWarnsOfWhatIsMissing) {
  struct Case {
    std::string text;
    const char *finding; // a piece of the first error, or of a warning when error is false
    bool error;
  } const cases[] = {
      {"[Language]\nId = 10x31\n", "is not a Windows language id", true},
      {"[Language]\nId = 0x0400\n", "is not a Windows language id", true},
      {"[Language]\nId = 70000\n", "is not a Windows language id", true},
      {"[Language]\nName = x\n", "no language id", true},
      {"[Language]\nId = 1031\nNeutral = 9\n", "is not the primary language of Id 1031", true},
      {std::string(kHeader) + "Wizard.Nxt = &Weiter >\n", "unknown text name 'Wizard.Nxt'", true},
      {std::string(kHeader) + "InformationPage.Document = x\n", "unknown text name", true},
      {std::string(kHeader) + "Setup.Title = Installation\n",
       "has the placeholders none where the English text \"{product} Setup\" has {product}", true},
      {std::string(kHeader) + "Status.Between = zwischen {min} und {maxi}\n",
       "has the placeholders {maxi} {min}", true},
      {std::string(kHeader) + "Action.Install = Installieren\nAction.Install = Los\n",
       "Action.Install is given twice", true},
      {std::string(kHeader) + "Action.Install =\n", "Action.Install is empty", true},
      {std::string(kHeader) + "Action.Install = a" + '\0' + "b\n", "control character (code 0)",
       true},
      {std::string(kHeader) + "Action.Install = Install\xE9ren\n", "not UTF-8", true},
      {std::string("\xFF\xFE[\0L\0", 6), "UTF-16", true},
      {std::string(kHeader) + "[Dokument]\n", "unknown section [Dokument]", true},
      {"[Language]\nId = 1031\nSprache = de\n", "unknown key 'Sprache'", true},
      {"Id = 1031\n", "expected Name = text in a section", true},
      {std::string(kHeader) + "[Document]\n# **Titel\n", "not closed", true},
      // A missing text falls back to English; two access keys of one window clash.
      {std::string(kHeader), "no text for PrerequisitesPage.Browse", false},
      {std::string(kHeader) +
           "PrerequisitesPage.Browse = &Weiter suchen...\nWizard.Next = &Weiter >\n",
       "the access key 'W' of Wizard.Next", false},
  };
  for (const Case &c : cases) {
    const LanguageFile file = ParseLanguageFile(c.text);
    EXPECT_EQ(file.errorCount() > 0, c.error) << c.text << "\n" << Messages(file);
    EXPECT_NE(Messages(file).find(c.finding), std::string::npos) << c.text << "\n"
                                                                 << Messages(file);
  }
  // Quotes keep blanks; a BOM and CR LF lines are read as any other file.
  const LanguageFile quoted = ParseLanguageFile(
      "\xEF\xBB\xBF[Language]\r\nId = 0x0407\r\n[Texts]\r\nAction.Install = \" Los \"\r\n");
  EXPECT_EQ(quoted.errorCount(), 0) << Messages(quoted);
  EXPECT_EQ(quoted.language, 0x0407);
  ASSERT_EQ(quoted.texts.size(), 1u);
  EXPECT_EQ(quoted.texts[0].second, " Los ");
  // The catalogue names each text and each key once.
  std::set<uint32_t> keys;
  std::set<std::string> names;
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    EXPECT_TRUE(keys.insert(CatalogueTexts()[i].key).second) << CatalogueTexts()[i].name;
    EXPECT_TRUE(names.insert(CatalogueTexts()[i].name).second) << CatalogueTexts()[i].name;
  }
}

} // namespace
