#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "base/text.h"
#include "prereq/config_reader.h"
#include "prereq/prerequisite_list.h"
#include "prereq/profile_file.h"
#include "tests/support/scratch_folder.h"

namespace {

ProfileFile Parsed(const std::string &content) {
  ProfileFile file;
  file.Parse(content);
  return file;
}

std::string Value(const ProfileFile &file, const std::string &section, const std::string &key) {
  std::string value;
  return ReadConfigValue(file, section, key, &value) ? "[" + value + "]" : "absent";
}

TEST(ProfileFile, ValuesAsThePlatformReturnsThem) {
  ProfileFile f = Parsed("[Sec]\n"
                         "  plain  =   spaced value \t\n"
                         "dq=\"quoted \"\n"
                         "sq='single'\n"
                         "mixed=\"not closed'\n"
                         "lone=\"\n"
                         "inner=a \"b\" c\n"
                         "empty=\n"
                         "noequals\n"
                         "ctrlz=v\x1a\n");
  EXPECT_EQ(Value(f, "Sec", "plain"), "[spaced value]");
  EXPECT_EQ(Value(f, "Sec", "dq"), "[quoted ]");
  EXPECT_EQ(Value(f, "Sec", "sq"), "[single]");
  EXPECT_EQ(Value(f, "Sec", "mixed"), "[\"not closed']");
  EXPECT_EQ(Value(f, "Sec", "lone"), "[\"]");
  EXPECT_EQ(Value(f, "Sec", "inner"), "[a \"b\" c]");
  EXPECT_EQ(Value(f, "Sec", "empty"), "[]");
  EXPECT_EQ(Value(f, "Sec", "noequals"), "absent");
  EXPECT_EQ(Value(f, "Sec", "ctrlz"), "[v]");
}

TEST(ProfileFile, NamesMatchWithoutCaseAndTheFirstWins) {
  ProfileFile f = Parsed("\xEF\xBB\xBF[first]\r\nKey=1\r\nkey=2\r\n[FIRST]\r\nKey=3\r\nOther=4\r\n"
                         "[ spaced ]\nk=5\n[broken\nk=6\n");
  EXPECT_EQ(Value(f, "First", "KEY"), "[1]");
  // A repeated section is never read: only the first of a name counts.
  EXPECT_EQ(Value(f, "first", "Other"), "absent");
  // "[broken" has no closing bracket: it is a key line of the section before.
  EXPECT_EQ(Value(f, "broken", "k"), "absent");
}

TEST(ProfileFile, LongValuesAndTheNotFoundMarker) {
  std::string v258(258, 'a');
  std::string v259(259, 'b');
  ProfileFile f = Parsed("[S]\nv258=" + v258 + "\nv259=" + v259 + "\nv260=" + v259 + "c\n" +
                         "q259=\"" + v259 + "\"\nnf=NOT FOUND\nnfq=\"NOT FOUND\"\nnf2=not found\n");
  EXPECT_EQ(Value(f, "S", "v258"), "[" + v258 + "]");
  EXPECT_EQ(Value(f, "S", "v259"), "absent");
  EXPECT_EQ(Value(f, "S", "v260"), "absent");
  // Quotes do not make a long value fit (the platform would hand out a cut copy).
  EXPECT_EQ(Value(f, "S", "q259"), "absent");
  EXPECT_EQ(Value(f, "S", "nf"), "absent");
  EXPECT_EQ(Value(f, "S", "nfq"), "absent");
  EXPECT_EQ(Value(f, "S", "nf2"), "[not found]");
}

TEST(ProfileFile, MissingAndEmptyFilesHaveNoKeys) {
  ProfileFile missing;
  EXPECT_FALSE(missing.Load("/nonexistent/tessara.ini"));
  EXPECT_EQ(Value(missing, "GeneralOptions", "Options"), "absent");
  ProfileFile empty = Parsed("");
  EXPECT_EQ(Value(empty, "GeneralOptions", "Options"), "absent");
}

// The answers the platform's reader gives under Wine (ANSI code page 1252) for these files.
TEST(ProfileFile, UnicodeFilesAreReadByTheirByteOrderMarkIntoTheAnsiCodePage) {
  auto utf16 = [](const std::u16string &text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
      const char hi = static_cast<char>(u >> 8);
      const char lo = static_cast<char>(u & 0xFF);
      out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
  };
  const std::u16string text = u"[PREREQUISITES]\r\nApp1=R\u00e9sum\u00e9 \u4e2d\r\n"
                              u"[App1]\r\nSetupFile=x.exe\r\nbad=a\xD800z\r\n";
  for (bool bigEndian : {false, true}) {
    ProfileFile f = Parsed(utf16(text, bigEndian) + "x"); // an odd last byte is dropped
    EXPECT_EQ(f.encoding(), bigEndian ? ProfileEncoding::kUtf16Be : ProfileEncoding::kUtf16Le);
    EXPECT_EQ(Value(f, "PREREQUISITES", "App1"), "[R\xE9sum\xE9 ?]");
    EXPECT_EQ(Value(f, "App1", "SetupFile"), "[x.exe]");
    EXPECT_EQ(Value(f, "App1", "bad"), "[a?z]");
  }
  ProfileFile utf8 = Parsed("\xEF\xBB\xBF[A]\r\nx=R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC\xC3\r\n");
  EXPECT_EQ(utf8.encoding(), ProfileEncoding::kUtf8);
  EXPECT_EQ(Value(utf8, "A", "x"), "[R\xE9sum\xE9 \x80?]");
  // Without a mark the bytes are the text, UTF-8 or not.
  ProfileFile ansi = Parsed("[A]\r\nx=R\xC3\xA9sum\xC3\xA9\r\n");
  EXPECT_EQ(ansi.encoding(), ProfileEncoding::kAnsi);
  EXPECT_EQ(Value(ansi, "A", "x"), "[R\xC3\xA9sum\xC3\xA9]");
  EXPECT_EQ(Value(Parsed(utf16(u"", false)), "A", "x"), "absent");
}

TEST(ConfigNumber, LeadingDigitsOnly) {
  EXPECT_EQ(ParseConfigNumber("12,345"), 12u);
  EXPECT_EQ(ParseConfigNumber("-1"), 0u);
  EXPECT_EQ(ParseConfigNumber("abc"), 0u);
  EXPECT_EQ(ParseConfigNumber(""), 0u);
  EXPECT_EQ(ParseConfigNumber(" 5"), 0u);
  EXPECT_EQ(ParseConfigNumber("4294967295"), 4294967295u);
  EXPECT_EQ(ParseConfigNumber("4294967297"), 1u);
}

std::vector<Prerequisite> Load(const std::string &content, GeneralOptions *options = nullptr) {
  PrerequisiteList list("unused");
  list.LoadConfiguration(Parsed(content));
  if (options != nullptr) {
    *options = list.generalOptions();
  }
  std::vector<Prerequisite> read;
  for (const Prerequisite &p : list.prerequisites()) {
    read.push_back(p);
  }
  return read;
}

std::string App(int n, const std::string &extra = "SetupFile=s.exe\nSearchType=1\n"
                                                  "SearchString=HKLM\\X\n") {
  return "[App" + std::to_string(n) + "]\n" + extra;
}

TEST(LoadConfiguration, ReadsEveryFieldInOrder) {
  GeneralOptions general;
  auto list = Load("[PREREQUISITES]\nApp1=Runtime Library\n"
                   "[App1]\nSetupFile=runtime-setup.exe\nCommandLine=/quiet\nOptions=m\n"
                   "TargetOS=1\nSearchType=1\nSearchString=HKLM\\SOFTWARE\\Example\nVerMin=1.4\n"
                   "VerMax=1.5\nExactSize=1048576\n"
                   "Sha256=00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF\n"
                   "[GeneralOptions]\nMainAppCmdLine=/qb ALLUSERS=1\nOptions=qm\n",
                   &general);
  ASSERT_EQ(list.size(), 1u);
  const Prerequisite &p = list[0];
  EXPECT_EQ(p.name, "Runtime Library");
  EXPECT_EQ(p.source, "runtime-setup.exe");
  EXPECT_EQ(p.sourceKind, SourceKind::SetupFile);
  EXPECT_EQ(p.commandLine, "/quiet");
  EXPECT_EQ(p.options, "m");
  EXPECT_EQ(p.targetOS, 1);
  EXPECT_EQ(p.searchType, 1);
  EXPECT_EQ(p.searchString, "HKLM\\SOFTWARE\\Example");
  EXPECT_EQ(p.verMin, "1.4");
  EXPECT_EQ(p.verMax, "1.5");
  EXPECT_EQ(p.exactSize, 1048576u);
  EXPECT_EQ(p.sha256.size(), 64u);
  EXPECT_EQ(general.mainAppCmdLine, "/qb ALLUSERS=1");
  EXPECT_EQ(general.options, "qm");
}

TEST(LoadConfiguration, DefaultsAndNumberRule) {
  auto list = Load("[PREREQUISITES]\nApp1=A\nApp2=B\n" +
                   App(1, "Url=http://h/a.exe\nSearchType=2\nSearchString=x\n") +
                   App(2, "SetupFile=\nUrl=http://h/b.exe\nTargetOS=abc\nExactSize=1,048,576\n"
                          "SearchType=1\nSearchString=y\n"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].sourceKind, SourceKind::Url);
  EXPECT_EQ(list[0].source, "http://h/a.exe");
  EXPECT_EQ(list[0].targetOS, 2);
  EXPECT_EQ(list[0].exactSize, 0u);
  EXPECT_TRUE(list[0].commandLine.empty());
  EXPECT_TRUE(list[0].sha256.empty());
  // An empty SetupFile is present and wins over Url.
  EXPECT_EQ(list[1].sourceKind, SourceKind::SetupFile);
  EXPECT_EQ(list[1].source, "");
  EXPECT_EQ(list[1].targetOS, 0);
  EXPECT_EQ(list[1].exactSize, 1u);
}

TEST(LoadConfiguration, TheListEndsAtTheFirstIncompletePrerequisite) {
  // App2 missing from the list: App3 is never read.
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=A\nApp3=C\n" + App(1) + App(3)).size(), 1u);
  // App2 without SearchString, then a complete App3.
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\n" + App(1) +
                 App(2, "SetupFile=s\nSearchType=1\n") + App(3))
                .size(),
            1u);
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=A\n" + App(1, "SetupFile=s\nSearchString=x\n")).size(), 0u);
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=A\n" + App(1, "SearchType=0\nSearchString=x\n")).size(),
            0u);
  // A 300-character Url is absent, and without SetupFile the list ends there.
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=A\n" + App(1, "Url=http://h/" + std::string(287, 'u') +
                                                          "\nSearchType=1\n"
                                                          "SearchString=x\n"))
                .size(),
            0u);
  // A name of exactly "NOT FOUND" is absent; in small letters it is a name.
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=NOT FOUND\n" + App(1)).size(), 0u);
  EXPECT_EQ(Load("[PREREQUISITES]\nApp1=not found\n" + App(1)).size(), 1u);
}

TEST(LoadConfiguration, GeneralOptions) {
  GeneralOptions general;
  Load("[PREREQUISITES]\n", &general);
  EXPECT_TRUE(general.mainAppCmdLine.empty());
  EXPECT_TRUE(general.options.empty());

  PrerequisiteList quiet("unused");
  quiet.LoadConfiguration(Parsed("[GeneralOptions]\nOptions=xqm\n"));
  EXPECT_TRUE(quiet.HasGeneralOption(kQuietOption));
  PrerequisiteList capital("unused");
  capital.LoadConfiguration(Parsed("[GeneralOptions]\nOptions=Q\n"));
  EXPECT_FALSE(capital.HasGeneralOption(kQuietOption));
}

TEST(ReadConfigValue, AnAbsentValueReadsAsEmptyWhateverTheStringHeld) {
  const ProfileFile f = Parsed("[S]\nset=v\nnf=NOT FOUND\n");
  std::string value = "old";
  EXPECT_TRUE(ReadConfigValue(f, "S", "set", &value));
  EXPECT_EQ(value, "v");
  for (const char *absent : {"missing", "nf"}) {
    value = "old";
    EXPECT_FALSE(ReadConfigValue(f, "S", absent, &value));
    EXPECT_TRUE(value.empty());
  }
}

TEST(LoadConfiguration, OptionLettersAreWholeCharactersOfTheCodePage) {
  // Shift-JIS: 0x83 0x71 and 0x83 0x6D are single characters whose trail bytes are q and m.
  text::SetLeadByteTest([](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || c >= 0xE0; });
  const std::string ini = "[PREREQUISITES]\nApp1=A\nApp2=B\n[App1]\nSetupFile=s\nSearchType=1\n"
                          "SearchString=x\nOptions=\x83m\n[App2]\nSetupFile=s\nSearchType=1\n"
                          "SearchString=x\nOptions=\x83mm\n[GeneralOptions]\nOptions=\x83q\n";
  PrerequisiteList list("unused");
  list.LoadConfiguration(Parsed(ini));
  ASSERT_EQ(list.count(), 2u);
  EXPECT_FALSE(list.HasGeneralOption(kQuietOption));
  EXPECT_FALSE(list.prerequisite(0).isMandatory());
  EXPECT_TRUE(list.prerequisite(1).isMandatory());
  PrerequisiteList quiet("unused");
  quiet.LoadConfiguration(Parsed("[GeneralOptions]\nOptions=\x83qq\n"));
  EXPECT_TRUE(quiet.HasGeneralOption(kQuietOption));
  text::SetLeadByteTest(nullptr);
  // In a single-byte code page the same bytes are two characters, one of them the letter.
  EXPECT_TRUE(HasOptionLetter("\x83m", kMandatoryOption));
}

TEST(LoadConfiguration, ReadsTheFileFromDisk) {
  ScratchFolder scratch;
  std::string path = scratch / "prereq_config_test.ini";
  {
    std::ofstream out(path, std::ios::binary);
    out << "[PREREQUISITES]\r\nApp1=Disk\r\n" << App(1);
  }
  PrerequisiteList list(path);
  list.LoadConfiguration();
  ASSERT_EQ(list.count(), 1u);
  EXPECT_EQ(list.prerequisite(0).name, "Disk");
  std::remove(path.c_str());

  PrerequisiteList missing(path);
  missing.LoadConfiguration();
  EXPECT_EQ(missing.count(), 0u);
}

TEST(ReadPrerequisite, ARecordReadBeforeIsReplacedWhole) {
  ProfileFile f = Parsed("[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\n" +
                         App(1, "Url=u\nSearchType=1\nSearchString=x\nSha256=ab\nTargetOS=0\n") +
                         App(2) + App(3, "SetupFile=s\n"));
  Prerequisite p;
  ASSERT_TRUE(ReadPrerequisite(f, 1, &p));
  ASSERT_TRUE(ReadPrerequisite(f, 2, &p));
  EXPECT_EQ(p.name, "B");
  EXPECT_EQ(p.sourceKind, SourceKind::SetupFile);
  EXPECT_TRUE(p.sha256.empty());
  EXPECT_EQ(p.targetOS, 2);
  EXPECT_FALSE(ReadPrerequisite(f, 3, &p));
}

} // namespace

namespace {

TEST(ProfileFile, BlanksInsideSectionBracketsAreNotPartOfTheName) {
  ProfileFile f = Parsed("[ Padded ]\npk=7\n");
  EXPECT_EQ(Value(f, "Padded", "pk"), "[7]");
}

} // namespace
