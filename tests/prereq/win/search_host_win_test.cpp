// The searches against the real system under Wine: version resources, folder walks, tokens
// resolved by the shell, and registry data as the platform stores it.
#include <windows.h>

#include <gtest/gtest.h>

#include "prereq/search.h"
#include "prereq/search_host.h"
#include "tests/support/search_results.h"

namespace {

// The build folder of the test DLLs, as a Windows path.
std::string DetectFile(const std::string &name) {
  std::string path = std::string("Z:") + TESSARA_DETECT_FILES + "/" + name;
  for (char &c : path) {
    c = c == '/' ? '\\' : c;
  }
  return path;
}

std::string TempFolder() {
  char buffer[MAX_PATH];
  DWORD length = ::GetTempPathA(MAX_PATH, buffer);
  return std::string(buffer, length);
}

class PlatformSearch : public ::testing::Test {
protected:
  std::unique_ptr<SearchHost> host = CreatePlatformSearchHost();
};

TEST_F(PlatformSearch, FileVersionsFromVersionResources) {
  EXPECT_EQ(host->FileVersionText(DetectFile("detect_v1_2_3_4.dll")), "1.2.3.4");
  EXPECT_EQ(host->FileVersionText(DetectFile("detect_v5_1_2600_0.dll")), "5.1.2600.0");
  EXPECT_EQ(host->FileVersionText(DetectFile("detect_v65535_0_7_65534.dll")), "65535.0.7.65534");
  EXPECT_EQ(host->FileVersionText(DetectFile("detect_unversioned.dll")), "0.0.0.0");
  EXPECT_EQ(host->FileVersionText(DetectFile("no-such-file.dll")), "0.0.0.0");
}

TEST_F(PlatformSearch, FileSearchesWithWildcards) {
  std::string folder = DetectFile("");
  EXPECT_EQ(Search(*host, 0, folder + "detect_v1_2_3_4.dll"), Found{"1.2.3.4"});
  // A wildcard matches, but the version is read from the pattern itself.
  EXPECT_EQ(Search(*host, 0, folder + "detect_v1_*.dll"), Found{"0.0.0.0"});
  EXPECT_EQ(Search(*host, 0, folder + "absent.dll"), Found{});
}

class FolderWalk : public PlatformSearch {
protected:
  void SetUp() override {
    root = TempFolder() + "tess-walk\\";
    for (const char *sub : {"", "a\\", "a\\b\\", "c\\"}) {
      ::CreateDirectoryA((root + sub).c_str(), nullptr);
    }
    Copy("detect_v1_2_3_4.dll", root + "top.dll");
    Copy("detect_v5_1_2600_0.dll", root + "a\\one.dll");
    Copy("detect_v65535_0_7_65534.dll", root + "a\\b\\two.dll");
    Copy("detect_unversioned.dll", root + "c\\plain.dll");
  }
  void TearDown() override {
    for (const char *file : {"top.dll", "a\\one.dll", "a\\b\\two.dll", "c\\plain.dll"}) {
      ::DeleteFileA((root + file).c_str());
    }
    for (const char *sub : {"a\\b\\", "a\\", "c\\", ""}) {
      ::RemoveDirectoryA((root + sub).c_str());
    }
  }
  void Copy(const std::string &from, const std::string &to) {
    ASSERT_TRUE(::CopyFileA(DetectFile(from).c_str(), to.c_str(), FALSE)) << to;
  }
  std::string root;
};

TEST_F(FolderWalk, DepthsZeroOneAndTwo) {
  EXPECT_EQ(Search(*host, 0, root + "top.dll"), Found{"1.2.3.4"});
  EXPECT_EQ(Search(*host, 0, root + "one.dll"), Found{});
  EXPECT_EQ(Search(*host, 0, root + "one.dll?1"), Found{"5.1.2600.0"});
  EXPECT_EQ(Search(*host, 0, root + "two.dll?1"), Found{});
  EXPECT_EQ(Search(*host, 0, root + "two.dll?2"), Found{"65535.0.7.65534"});
  EXPECT_EQ(Search(*host, 0, root + "plain.dll?1"), Found{"0.0.0.0"});
  EXPECT_EQ(Search(*host, 0, root + "two.dll?4294967295"), Found{"65535.0.7.65534"});
}

TEST_F(FolderWalk, TempFolderToken) {
  EXPECT_EQ(Search(*host, 0, "[TempFolder]tess-walk\\a\\one.dll"), Found{"5.1.2600.0"});
  EXPECT_EQ(Search(*host, 0, "[TempFolder]tess-walk\\two.dll?2"), Found{"65535.0.7.65534"});
}

TEST_F(PlatformSearch, EveryFolderTokenNamesAnExistingFolder) {
  char system[MAX_PATH];
  UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(ResolveFolderToken(*host, "SystemFolder"), std::string(system, length) + "\\");
  EXPECT_EQ(ResolveFolderToken(*host, "WindowsVolume").size(), 3u);
  EXPECT_EQ(ResolveFolderToken(*host, "TempFolder"), TempFolder());
  EXPECT_EQ(ResolveFolderToken(*host, "ProgramFiles"),
            ResolveFolderToken(*host, "ProgramFilesFolder"));
  for (const char *token :
       {"SystemFolder", "WindowsFolder", "WindowsVolume", "TempFolder", "ProgramFilesFolder",
        "CommonFilesFolder", "DesktopFolder", "AppDataFolder", "FavoritesFolder", "StartMenuFolder",
        "ProgramMenuFolder", "StartupFolder", "FontsFolder", "ProgramFiles"}) {
    std::string folder = ResolveFolderToken(*host, token);
    ASSERT_FALSE(folder.empty()) << token;
    EXPECT_EQ(folder.back(), '\\') << token;
    DWORD attributes = ::GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        << token << " " << folder;
  }
  EXPECT_EQ(ResolveFolderToken(*host, "Nowhere"), "");
}

class RegistrySearch : public PlatformSearch {
protected:
  static constexpr const char *kKey = "Software\\Tessara Detect Test";
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    for (const char *sub : {"1.3", "1.4.2_08", "1.5.0"}) {
      HKEY child = nullptr;
      ::RegCreateKeyExA(key, (std::string("Versions\\") + sub).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &child, nullptr);
      ::RegCloseKey(child);
    }
    SetString(key, "Version", "2.1");
    SetString(key, "", "default-data");
    SetString(key, "Installed", "1");
    SetString(key, "Long", std::string(300, 'x'));
    DWORD number = 0x00323531; // the bytes '1' '5' '2' 0
    ::RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number),
                     sizeof number);
    ::RegCloseKey(key);
  }
  void TearDown() override {
    const std::string k = kKey;
    for (const char *sub :
         {"\\Versions\\1.3", "\\Versions\\1.4.2_08", "\\Versions\\1.5.0", "\\Versions", ""}) {
      ::RegDeleteKeyA(HKEY_CURRENT_USER, (k + sub).c_str());
    }
  }
  static void SetString(HKEY key, const char *name, const std::string &data) {
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
  }
};

TEST_F(RegistrySearch, SubkeysAndValues) {
  const std::string k = std::string("HKCU\\") + kKey;
  EXPECT_EQ(Search(*host, 1, k + "\\Versions"), (Found{"1.3", "1.4.2_08", "1.5.0"}));
  EXPECT_EQ(Search(*host, 1, k + "\\Versions\\1.3"), Found{});
  EXPECT_EQ(Search(*host, 1, k + "\\\\Version\\"), Found{"2.1"});
  EXPECT_EQ(Search(*host, 1, k + "\\\\Version"), Found{"default-data"});
  EXPECT_EQ(Search(*host, 1, k + "\\\\Installed\\1\\"), Found{"1"});
  EXPECT_EQ(Search(*host, 1, k + "\\\\Installed\\2\\"), Found{});
  EXPECT_EQ(Search(*host, 2, k + "\\Version"), Found{"2.1"});
  EXPECT_EQ(Search(*host, 2, k + "\\Long"), Found{});
  EXPECT_EQ(Search(*host, 2, k + "\\Number"), Found{"152"});
  // Any root but HKLM reads the current user's hive.
  EXPECT_EQ(Search(*host, 2, std::string("hklm\\") + kKey + "\\Version"), Found{"2.1"});
  EXPECT_EQ(Search(*host, 2, std::string("HKLM\\") + kKey + "\\Version"), Found{});
}

} // namespace
