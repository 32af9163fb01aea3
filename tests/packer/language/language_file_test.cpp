// Language files as the packer reads them: the shipped ones whole and round trip, and every
// kind of fault a vendor's file can have.
#include "packer/language/language_file.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <set>

#include "archive/language_table.h"
#include "tests/support/packer_test_support.h"

namespace {

std::vector<std::string> ShippedFiles() {
  const std::string folder = std::string(TESSARA_SOURCE_DIR) + "/languages/";
  std::vector<std::string> files;
  DIR *dir = ::opendir(folder.c_str());
  for (dirent *e = dir != nullptr ? ::readdir(dir) : nullptr; e != nullptr; e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ".lang") == 0) {
      files.push_back(folder + name);
    }
  }
  if (dir != nullptr) {
    ::closedir(dir);
  }
  return files;
}

std::string Messages(const LanguageFile &file) {
  std::string out;
  for (const LanguageFinding &f : file.findings) {
    out += (f.error ? "error " : "warning ") + std::to_string(f.line) + ": " + f.message + "\n";
  }
  return out;
}

const char kHeader[] = "[Language]\nId = 1031\n[Texts]\n";

TEST(LanguageFile, TheShippedOnesAreCompleteAndTheSetupReadsBackEveryText) {
  const std::vector<std::string> files = ShippedFiles();
  std::set<uint16_t> languages;
  ASSERT_EQ(files.size(), 6u);
  for (const std::string &path : files) {
    const LanguageFile file = ParseLanguageFile(packer_test::ReadFileBytes(path));
    EXPECT_TRUE(file.findings.empty()) << path << "\n" << Messages(file);
    EXPECT_EQ(file.texts.size(), CatalogueSize()) << path;
    EXPECT_TRUE(languages.insert(file.language).second) << path;
    const std::string bytes = CompileLanguageFile(file);
    LanguageTable table;
    ASSERT_TRUE(table.Read(bytes.data(), bytes.size())) << path;
    EXPECT_EQ(table.language(), file.language);
    EXPECT_EQ(table.neutral(), file.neutral);
    EXPECT_EQ(table.rightToLeft(), path.find("/ar-") != std::string::npos) << path;
    for (const auto &text : file.texts) {
      const char *stored = table.Find(text.first->key);
      ASSERT_NE(stored, nullptr) << text.first->name;
      if (text.first->kind == TextKind::Plain) {
        EXPECT_EQ(stored, text.second) << text.first->name;
      } else {
        // Rich Text of pure ASCII: every other character as \uN.
        EXPECT_EQ(std::string(stored).compare(0, 6, "{\\rtf1"), 0);
        for (const char *c = stored; *c != '\0'; ++c) {
          EXPECT_LT(static_cast<unsigned char>(*c), 0x80u) << path;
        }
      }
    }
  }
  // The catalogue names each key once.
  std::set<uint32_t> keys;
  std::set<std::string> names;
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    EXPECT_TRUE(keys.insert(CatalogueTexts()[i].key).second) << CatalogueTexts()[i].name;
    EXPECT_TRUE(names.insert(CatalogueTexts()[i].name).second) << CatalogueTexts()[i].name;
  }
}

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
}

} // namespace
