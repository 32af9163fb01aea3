// The searches on a real Windows machine.
#include <windows.h>

#include <shlobj.h>

#include <utility>

#include "base/text.h"
#include "base/win/find_handle.h"
#include "base/win/module.h"
#include "base/win/reg_key.h"
#include "base/win/shell_item_list.h"
#include "prereq/search.h"
#include "prereq/search_host.h"
#include "prereq/win/file_version.h"

namespace {

HKEY RootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A folder the searches can use. They build their paths in the ANSI code page, as their
// configuration is: a folder the code page cannot spell (the temporary folder or the profile of
// a Cyrillic user name on a Western system) is given by its short name, which is ASCII. Empty
// when neither spells it (a volume that keeps no short names) or it does not fit.
std::string AnsiFolder(const wchar_t *folder) {
  // A UTF-8 code page (a choice of Windows 10 and later) spells everything, and refuses the
  // question whether it did.
  const bool utf8 = ::GetACP() == CP_UTF8;
  char buffer[MAX_PATH];
  BOOL lossy = FALSE;
  const auto toAnsi = [&](const wchar_t *wide) {
    return ::WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, buffer,
                                 MAX_PATH, nullptr, utf8 ? nullptr : &lossy);
  };
  int length = toAnsi(folder);
  wchar_t shortName[MAX_PATH];
  if (lossy) {
    const DWORD units = ::GetShortPathNameW(folder, shortName, MAX_PATH);
    lossy = FALSE;
    length = units == 0 || units >= MAX_PATH ? 0 : toAnsi(shortName);
  }
  return length > 0 && !lossy ? std::string(buffer, static_cast<size_t>(length) - 1)
                              : std::string();
}

// A folder from one of the "fill this 260-byte buffer" calls; empty on failure.
template <typename Fn> std::string FolderFrom(Fn call) {
  char buffer[MAX_PATH];
  DWORD length = static_cast<DWORD>(call(buffer, MAX_PATH));
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  return std::string(buffer, length);
}

class WindowsMachine : public SearchHost {
public:
  bool EnumerateSubkeys(RegRoot root, const std::string &keyPath,
                        std::vector<std::string> *names) const override {
    win::RegKey key;
    if (key.Open(RootKey(root), keyPath.c_str(), KEY_READ) != ERROR_SUCCESS) {
      return false;
    }
    for (DWORD index = 0;; ++index) {
      char name[MAX_PATH];
      DWORD size = MAX_PATH;
      if (::RegEnumKeyExA(key.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      names->push_back(std::string(name, size < MAX_PATH ? size : MAX_PATH - 1));
    }
    return true;
  }

  bool QueryValueText(RegRoot root, const std::string &keyPath, const std::string &valueName,
                      std::string *data) const override {
    win::RegKey key;
    if (key.Open(RootKey(root), keyPath.c_str(), KEY_READ) != ERROR_SUCCESS) {
      return false;
    }
    BYTE buffer[MAX_PATH];
    DWORD size = MAX_PATH;
    DWORD type = 0;
    if (::RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, buffer, &size) !=
        ERROR_SUCCESS) {
      return false;
    }
    // The data as text up to its first zero byte, whatever the value's type.
    DWORD length = 0;
    while (length < size && length < MAX_PATH && buffer[length] != 0) {
      ++length;
    }
    *data = std::string(reinterpret_cast<const char *>(buffer), length);
    return true;
  }

  bool PathExists(const std::string &path) const override {
    WIN32_FIND_DATAA data;
    win::FindHandle find;
    return find.First(path.c_str(), &data);
  }

  std::string FileVersionText(const std::string &path) const override {
    return versions_.Text(path);
  }

  std::vector<std::string> ListSubfolders(const std::string &folder) const override {
    std::vector<std::string> names;
    std::string pattern = folder + "*.*";
    if (pattern.size() >= MAX_PATH) {
      return names;
    }
    WIN32_FIND_DATAA data;
    win::FindHandle find;
    if (!find.First(pattern.c_str(), &data)) {
      return names;
    }
    do {
      std::string name = data.cFileName;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == "." || name == "..") {
        continue;
      }
      // A junction or symbolic link may point back up the tree: never descend through one.
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        continue;
      }
      names.push_back(std::move(name));
    } while (find.Next(&data));
    return names;
  }

  std::string SystemDirectory() const override {
    return FolderFrom([](char *b, UINT n) { return ::GetSystemDirectoryA(b, n); });
  }
  std::string WindowsDirectory() const override {
    return FolderFrom([](char *b, UINT n) { return ::GetWindowsDirectoryA(b, n); });
  }
  std::string TempPath() const override {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
    return length == 0 || length >= MAX_PATH ? std::string() : AnsiFolder(buffer);
  }

  std::string SpecialFolder(int csidl) const override {
    win::ShellItemList list;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, list.Out())) || list.Get() == nullptr) {
      return std::string();
    }
    wchar_t buffer[MAX_PATH];
    if (!::SHGetPathFromIDListW(list.Get(), buffer)) {
      return std::string();
    }
    std::string folder = AnsiFolder(buffer);
    if (!folder.empty()) {
      text::EnsureTrailingBackslash(&folder);
    }
    return folder;
  }

private:
  win::FileVersionReader versions_;
};

} // namespace

std::unique_ptr<SearchHost> CreatePlatformSearchHost() {
  return std::unique_ptr<SearchHost>(new WindowsMachine());
}

OsFamily CurrentOsFamily() {
  return (::GetVersion() & 0x80000000u) != 0 ? OsFamily::Windows9x : OsFamily::WindowsNT;
}
