// The searches that find installed versions of a prerequisite.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file.h"
#include "base/object_vector.h"
#include "prereq/search_host.h"

enum SearchType : int32_t {
  kSearchFile = 0,
  kSearchRegistry = 1,
  kSearchRegistryValue = 2,
  kSearchProduct = 3, // a Windows Installer ProductCode: its VersionString when installed
  kSearchUpgrade = 4, // an UpgradeCode: the VersionString of every related product installed
};

// Every path and name of a search fits sys::kMaxPath bytes with its terminating zero.
base::StringList RunSearch(const SearchHost &host, int32_t searchType,
                           const std::string &searchString);
base::StringList SearchFile(const SearchHost &host, const std::string &searchString);
base::StringList SearchRegistry(const SearchHost &host, const std::string &text);

// The parts of a file search string: folder (tokens not yet replaced), file name and depth.
struct FileSearchParts {
  std::string folder;
  std::string fileName;
  uint32_t depth = 0;
};
FileSearchParts SplitFileSearch(const std::string &searchString);

// The parts of a registry search string; ok is false when it names no key.
struct RegistrySearchParts {
  bool ok = false;
  RegRoot root = RegRoot::CurrentUser;
  std::string keyPath;
  bool valueForm = false; // a double backslash names one value
  std::string valueName;
  bool hasExpected = false;
  std::string expected;
};
RegistrySearchParts SplitRegistrySearch(const std::string &text);
// The root names, matched exactly; any other text is the current user.
struct RegRootName {
  const char *name;
  RegRoot root;
};
inline constexpr RegRootName kRegRootNames[] = {
    {"HKLM", RegRoot::LocalMachine},     {"HKCU", RegRoot::CurrentUser},
    {"HKLM64", RegRoot::LocalMachine64}, {"HKCU64", RegRoot::CurrentUser64},
    {"HKLM32", RegRoot::LocalMachine32}, {"HKCU32", RegRoot::CurrentUser32},
};
// A RegistryValue text rewritten into the value form; false when it has no backslash.
bool RegistryValueToValueForm(const std::string &text, std::string *valueForm);

// The folder tokens of a file search ("[SystemFolder]tool\\"), each with where its folder
// comes from: a call of its own, or the shell's folder of that CSIDL. Tried in this order;
// names match exactly. The 64-bit folders (Is64BitFolder) are the 64-bit system's own: on a
// 32-bit Windows they are nothing, and file searches under them see the machine's real files.
enum class TokenFolder : uint8_t {
  System,
  Windows,
  WindowsVolume,
  Temp,
  Special,
  System64,
  ProgramFiles64, // the 64-bit view's ProgramFilesDir
  CommonFiles64,  // and CommonFilesDir
};
inline bool Is64BitFolder(TokenFolder folder) {
  return folder == TokenFolder::System64 || folder == TokenFolder::ProgramFiles64 ||
         folder == TokenFolder::CommonFiles64;
}
struct FolderTokenEntry {
  const char *name;
  TokenFolder folder;
  uint8_t csidl;
};
inline constexpr FolderTokenEntry kFolderTokens[] = {
    {"SystemFolder", TokenFolder::System, 0},
    {"WindowsFolder", TokenFolder::Windows, 0},
    {"WindowsVolume", TokenFolder::WindowsVolume, 0},
    {"TempFolder", TokenFolder::Temp, 0},
    {"ProgramFilesFolder", TokenFolder::Special, 0x26},
    {"CommonFilesFolder", TokenFolder::Special, 0x2B},
    {"DesktopFolder", TokenFolder::Special, 0x10},
    {"AppDataFolder", TokenFolder::Special, 0x1A},
    {"FavoritesFolder", TokenFolder::Special, 0x06},
    {"StartMenuFolder", TokenFolder::Special, 0x0B},
    {"ProgramMenuFolder", TokenFolder::Special, 0x02},
    {"StartupFolder", TokenFolder::Special, 0x07},
    {"FontsFolder", TokenFolder::Special, 0x14},
    {"ProgramFiles", TokenFolder::Special, 0x26},
    {"System64Folder", TokenFolder::System64, 0},
    {"ProgramFiles64Folder", TokenFolder::ProgramFiles64, 0},
    {"CommonFiles64Folder", TokenFolder::CommonFiles64, 0},
};

// Replaces each [Token] by its folder; "[" without "]" stays as it is. *native (when given) is
// set when a 64-bit folder's token was among them.
std::string ExpandFolderTokens(const SearchHost &host, const std::string &folder,
                               bool *native = nullptr);
std::string ResolveFolderToken(const SearchHost &host, std::string_view name,
                               bool *native = nullptr);
// True when the name is one of the folder tokens.
bool IsFolderToken(std::string_view name);

// Depth-first walk, the folder before its subfolders; *version gets the first hit's text.
bool SearchFolderTree(const SearchHost &host, const std::string &folder, uint32_t depth,
                      const std::string &name, std::string *version);
bool FindInFolder(const SearchHost &host, const std::string &folder, const std::string &name,
                  std::string *version);
