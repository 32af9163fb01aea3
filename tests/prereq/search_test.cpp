#include <gtest/gtest.h>

#include "base/text.h"
#include "prereq/profile_file.h"
#include "prereq/search.h"
#include "tests/support/prereq_fake_machine.h"
#include "tests/support/search_results.h"

namespace {

class SearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    m.AddKey("HKLM\\SOFTWARE\\Example Vendor\\Runtime Library", {"1.3", "1.4.2_08", "1.5.0"});
    m.AddKey("HKLM\\SOFTWARE\\Empty");
    m.AddKey("HKLM\\SOFTWARE\\Example");
    m.SetValue("HKLM\\SOFTWARE\\Example", "Version", "2.1");
    m.SetValue("HKLM\\SOFTWARE\\Example", "", "default-data");
    m.SetValue("HKLM\\SOFTWARE\\Example", "Installed", "1");
    m.AddKey("HKCU\\SOFTWARE\\User", {"9.0"});
  }
  FakeMachine m;
};

TEST_F(SearchTest, RegistryKeyFormListsSubkeys) {
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example Vendor\\Runtime Library"),
            (Found{"1.3", "1.4.2_08", "1.5.0"}));
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Empty"), Found{});
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Missing"), Found{});
  EXPECT_EQ(Search(m, 1, "no backslash"), Found{});
}

TEST_F(SearchTest, OnlyTheExactAbbreviationSelectsTheLocalMachine) {
  EXPECT_EQ(Search(m, 1, "HKCU\\SOFTWARE\\User"), Found{"9.0"});
  EXPECT_EQ(Search(m, 1, "hklm\\SOFTWARE\\User"), Found{"9.0"});
  EXPECT_EQ(Search(m, 1, "HKEY_LOCAL_MACHINE\\SOFTWARE\\User"), Found{"9.0"});
  EXPECT_EQ(Search(m, 1, "\\SOFTWARE\\User"), Found{"9.0"});
  EXPECT_EQ(Search(m, 1, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty"), Found{});
  EXPECT_EQ(Search(m, 1, "HKLMX\\SOFTWARE\\Empty"), Found{});
}

TEST_F(SearchTest, RegistryValueForms) {
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example\\\\Version\\"), Found{"2.1"});
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example\\\\Version"), Found{"default-data"});
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example\\\\Installed\\1\\"), Found{"1"});
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example\\\\Installed\\2\\"), Found{});
  EXPECT_EQ(Search(m, 1, "HKLM\\SOFTWARE\\Example\\\\Missing\\"), Found{});
  EXPECT_EQ(Search(m, 2, "HKLM\\SOFTWARE\\Example\\Version"), Found{"2.1"});
  EXPECT_EQ(Search(m, 2, "Version"), Found{});
  // A value of the root key itself, in either form.
  m.SetValue("HKCU\\", "Version", "3.0");
  EXPECT_EQ(Search(m, 2, "HKCU\\Version"), Found{"3.0"});
  EXPECT_EQ(Search(m, 1, "HKCU\\\\Version\\"), Found{"3.0"});
  std::string form;
  ASSERT_TRUE(RegistryValueToValueForm("HKLM\\A\\B\\Name", &form));
  EXPECT_EQ(form, "HKLM\\A\\B\\\\Name\\");
}

TEST_F(SearchTest, WindowsInstallerProducts) {
  m.products = {{"{A}", "2.1.0"}, {"{B}", "2.2"}};
  m.related["{U}"] = {"{A}", "{not installed}", "{B}"};
  EXPECT_EQ(Search(m, 3, "{A}"), Found{"2.1.0"});
  EXPECT_EQ(Search(m, 3, "{U}"), Found{});
  EXPECT_EQ(Search(m, 4, "{U}"), (Found{"2.1.0", "2.2"}));
}

TEST_F(SearchTest, UnknownSearchTypesFindNothing) {
  EXPECT_EQ(Search(m, 5, "HKLM\\SOFTWARE\\Example Vendor\\Runtime Library"), Found{});
  EXPECT_EQ(Search(m, -1, "HKLM\\SOFTWARE\\Example\\Version"), Found{});
}

TEST(Views64, ExactWordsAndNoneOnA32BitWindows) {
  FakeMachine m;
  m.SetValue("HKLM64\\S\\Rt", "V", "6.4");
  m.SetValue("HKLM32\\S\\Rt", "V", "3.2");
  m.AddKey("HKCU\\S\\Rt", {"1.0"});
  m.AddFile("C:\\windows\\system32\\n.dll", "10.0.0.1");
  EXPECT_EQ(Search(m, 1, "hklm64\\S\\Rt"), Found{"1.0"});
  // Only a walk under a 64-bit folder turns the redirection off.
  EXPECT_EQ(Search(m, 0, "[System64Folder]n.dll"), Found{"10.0.0.1"});
  EXPECT_EQ(Search(m, 0, "[SystemFolder]n.dll"), Found{"10.0.0.1"});
  EXPECT_EQ(m.nativeWalks, 1);
  m.arch = kArchX86; // the system would read its only view for a 64-bit root
  EXPECT_EQ(Search(m, 2, "HKLM64\\S\\Rt\\V"), Found{});
  EXPECT_EQ(Search(m, 2, "HKLM32\\S\\Rt\\V"), Found{"3.2"});
  EXPECT_EQ(ExpandFolderTokens(m, "[CommonFiles64Folder]x\\"), "x\\");
  EXPECT_EQ(Search(m, 0, "[System64Folder]n.dll"), Found{});
}

TEST(FileSearchParts, SplitsFolderNameAndDepth) {
  FileSearchParts p = SplitFileSearch("[ProgramFilesFolder]Example\\tool.exe?1");
  EXPECT_EQ(p.folder, "[ProgramFilesFolder]Example\\");
  EXPECT_EQ(p.fileName, "tool.exe");
  EXPECT_EQ(p.depth, 1u);
  p = SplitFileSearch("[SystemFolder]name.dll");
  EXPECT_EQ(p.folder, "[SystemFolder]");
  EXPECT_EQ(p.fileName, "name.dll");
  EXPECT_EQ(p.depth, 0u);
  p = SplitFileSearch("tool.exe?x");
  EXPECT_EQ(p.folder, "");
  EXPECT_EQ(p.depth, 0u);
  // A "?" as the first character is part of the name; a backslash first is not a split.
  p = SplitFileSearch("?tool.exe");
  EXPECT_EQ(p.fileName, "?tool.exe");
  p = SplitFileSearch("\\tool.exe");
  EXPECT_EQ(p.folder, "");
  EXPECT_EQ(p.fileName, "\\tool.exe");
}

TEST(FolderTokens, EveryTokenOfTheTable) {
  FakeMachine m;
  m.special = {{0x26, "P:\\pf"},   {0x2B, "P:\\common\\"}, {0x10, "D:\\desk"},
               {0x1A, "D:\\app"},  {0x06, "D:\\fav"},      {0x0B, "D:\\start"},
               {0x02, "D:\\prog"}, {0x07, "D:\\up"},       {0x14, "C:\\fonts"}};
  EXPECT_EQ(ResolveFolderToken(m, "SystemFolder"), "C:\\windows\\system32\\");
  EXPECT_EQ(ResolveFolderToken(m, "WindowsFolder"), "C:\\windows\\");
  EXPECT_EQ(ResolveFolderToken(m, "WindowsVolume"), "C:\\");
  EXPECT_EQ(ResolveFolderToken(m, "TempFolder"), "C:\\users\\me\\Temp\\");
  EXPECT_EQ(ResolveFolderToken(m, "ProgramFilesFolder"), "P:\\pf\\");
  EXPECT_EQ(ResolveFolderToken(m, "CommonFilesFolder"), "P:\\common\\");
  EXPECT_EQ(ResolveFolderToken(m, "DesktopFolder"), "D:\\desk\\");
  EXPECT_EQ(ResolveFolderToken(m, "AppDataFolder"), "D:\\app\\");
  EXPECT_EQ(ResolveFolderToken(m, "FavoritesFolder"), "D:\\fav\\");
  EXPECT_EQ(ResolveFolderToken(m, "StartMenuFolder"), "D:\\start\\");
  EXPECT_EQ(ResolveFolderToken(m, "ProgramMenuFolder"), "D:\\prog\\");
  EXPECT_EQ(ResolveFolderToken(m, "StartupFolder"), "D:\\up\\");
  EXPECT_EQ(ResolveFolderToken(m, "FontsFolder"), "C:\\fonts\\");
  EXPECT_EQ(ResolveFolderToken(m, "ProgramFiles"), "P:\\pf\\");
  EXPECT_EQ(ResolveFolderToken(m, "systemfolder"), "");
  EXPECT_EQ(ResolveFolderToken(m, "Nowhere"), "");
  m.special.clear();
  EXPECT_EQ(ResolveFolderToken(m, "FontsFolder"), "");
}

TEST(FolderTokens, TheVolumeIsAtMostThreeBytesOfTheWindowsFolder) {
  struct ShortWindows : FakeMachine {
    std::string WindowsDirectory() const override { return "C:"; }
  } m;
  EXPECT_EQ(ResolveFolderToken(m, "WindowsVolume"), "C:");
  EXPECT_EQ(ResolveFolderToken(m, "WindowsFolder"), "C:\\");
}

TEST(FolderTokens, Expansion) {
  FakeMachine m;
  EXPECT_EQ(ExpandFolderTokens(m, "[WindowsFolder]a\\[WindowsVolume]b\\"),
            "C:\\windows\\a\\C:\\b\\");
  EXPECT_EQ(ExpandFolderTokens(m, "[Nowhere]tool\\"), "tool\\");
  EXPECT_EQ(ExpandFolderTokens(m, "x[SystemFolder"), "x[SystemFolder");
  EXPECT_EQ(ExpandFolderTokens(m, "[WindowsFolder]a[b"), "C:\\windows\\a[b");
}

class FileSearchTest : public ::testing::Test {
protected:
  void SetUp() override {
    m.AddFile("C:\\windows\\system32\\name.dll", "5.1.2600.0");
    m.AddFile("C:\\Program Files\\Example\\sub\\tool.exe", "1.2.3.4");
    m.AddFile("C:\\Program Files\\Example\\a\\b\\deep.exe", "2.0.0.0");
    m.AddFile("rel\\tool.exe", "7.0.0.0");
  }
  FakeMachine m;
};

TEST_F(FileSearchTest, DepthDecidesHowFarTheWalkGoes) {
  EXPECT_EQ(Search(m, 0, "[SystemFolder]name.dll"), Found{"5.1.2600.0"});
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\tool.exe"), Found{});
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\tool.exe?1"), Found{"1.2.3.4"});
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\deep.exe?1"), Found{});
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\deep.exe?2"), Found{"2.0.0.0"});
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\deep.exe?4294967295"), Found{"2.0.0.0"});
  // A token not in the table leaves a path relative to the current folder.
  EXPECT_EQ(Search(m, 0, "[Nowhere]rel\\tool.exe"), Found{"7.0.0.0"});
}

TEST_F(FileSearchTest, LinkedFoldersAreNotWalked) {
  m.AddFolder("C:\\loop\\");
  m.AddFolder("C:\\loop\\back\\", true);
  m.AddFile("C:\\loop\\back\\x.exe", "1.0.0.0");
  EXPECT_EQ(Search(m, 0, "C:\\loop\\x.exe?100"), Found{});
}

TEST_F(FileSearchTest, OverlongPathsFindNothing) {
  std::string deep = "C:\\" + std::string(240, 'd') + "\\";
  m.AddFile(deep + "tool.exe", "1.0.0.0");
  m.AddFile(deep + "eeeeeeee\\ffffffff\\tool2.exe", "1.0.0.0");
  EXPECT_EQ(Search(m, 0, deep + "tool.exe"), Found{"1.0.0.0"});
  m.lookedAt.clear();
  EXPECT_EQ(Search(m, 0, deep + "tool2.exe?5"), Found{});
  for (const std::string &path : m.lookedAt) {
    EXPECT_LT(path.size(), sys::kMaxPath);
  }
  // A token that expands past the limit finds nothing rather than a cut path.
  m.special[0x26] = "C:\\" + std::string(250, 'p');
  m.AddFile(m.special[0x26] + "\\Example\\t.exe");
  EXPECT_EQ(Search(m, 0, "[ProgramFilesFolder]Example\\t.exe"), Found{});
}

} // namespace

namespace {

// Shift-JIS style lead bytes; 0x83 0x5C is one character whose trail byte is a backslash.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(DoubleByteText, TrailBytesAreNeverSeparators) {
  text::SetLeadByteTest(ShiftJisLead);
  FileSearchParts file = SplitFileSearch("C:\\dir\x83\x5C\\tool\x83\x5C.exe?1");
  EXPECT_EQ(file.folder, "C:\\dir\x83\x5C\\");
  EXPECT_EQ(file.fileName, "tool\x83\x5C.exe");
  EXPECT_EQ(file.depth, 1u);
  // The trail byte before the real backslash does not make a double backslash.
  RegistrySearchParts reg = SplitRegistrySearch("HKLM\\SOFTWARE\\\x83\x5C\\Name");
  EXPECT_FALSE(reg.valueForm);
  EXPECT_EQ(reg.keyPath, "SOFTWARE\\\x83\x5C\\Name");
  reg = SplitRegistrySearch("HKLM\\Key\\\\\x83\x5C\\");
  EXPECT_TRUE(reg.valueForm);
  EXPECT_EQ(reg.valueName, "\x83\x5C");
  ProfileFile profile;
  profile.Parse("[\x83\x5D]\nk=1\n");
  std::string_view value;
  EXPECT_TRUE(profile.FindView("\x83\x5D", "k", &value));
  text::SetLeadByteTest(nullptr);
}

} // namespace
