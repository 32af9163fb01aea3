// The searches on a real Windows machine.
#include <windows.h>

#include <shlobj.h>

#include <cstring>
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

// This machine's native architecture, a MachineArch bit (0 for one of no such name).
uint8_t NativeArchitecture() {
  USHORT process = 0;
  USHORT native = 0;
  const auto wow64Process2 =
      win::KernelProc<BOOL(WINAPI *)(HANDLE, USHORT *, USHORT *)>("IsWow64Process2");
  // Wine 8 answers 0 (unknown) for a 64-bit program: the older call decides then.
  if (wow64Process2 != nullptr && wow64Process2(::GetCurrentProcess(), &process, &native) &&
      native != 0) {
    return native == IMAGE_FILE_MACHINE_I386    ? kArchX86
           : native == IMAGE_FILE_MACHINE_AMD64 ? kArchX64
           : native == IMAGE_FILE_MACHINE_ARM64 ? kArchArm64
                                                : 0;
  }
  // Without WOW64 (or without the call: older than XP SP2) the machine is the program's own;
  // under it, the system's processor tells.
  BOOL wow64 = FALSE;
  const auto isWow64Process = win::KernelProc<BOOL(WINAPI *)(HANDLE, PBOOL)>("IsWow64Process");
  if (isWow64Process == nullptr || !isWow64Process(::GetCurrentProcess(), &wow64) || !wow64) {
    return sizeof(void *) == 8 ? kArchX64 : kArchX86;
  }
  SYSTEM_INFO info = {};
  const auto nativeInfo = win::KernelProc<void(WINAPI *)(LPSYSTEM_INFO)>("GetNativeSystemInfo");
  if (nativeInfo != nullptr) {
    nativeInfo(&info);
  }
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64   ? kArchX64
         : info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64 ? kArchArm64
                                                                       : 0;
}

// Turns the file-system redirection of a 32-bit program on 64-bit Windows off for this thread
// while it lives. The entry points are looked up: a system without them has no redirection.
class FsRedirectionOff {
public:
  FsRedirectionOff() {
    const auto disable = win::KernelProc<BOOL(WINAPI *)(PVOID *)>("Wow64DisableWow64FsRedirection");
    revert_ = win::KernelProc<RevertFn>("Wow64RevertWow64FsRedirection");
    if (disable == nullptr || !disable(&old_)) {
      revert_ = nullptr;
    }
  }
  ~FsRedirectionOff() {
    if (revert_ != nullptr) {
      revert_(old_);
    }
  }
  FsRedirectionOff(const FsRedirectionOff &) = delete;
  FsRedirectionOff &operator=(const FsRedirectionOff &) = delete;

private:
  using RevertFn = BOOL(WINAPI *)(PVOID);
  RevertFn revert_;
  PVOID old_ = nullptr;
};

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
std::string FolderFrom(UINT(WINAPI *call)(LPSTR, UINT)) {
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
                        base::StringList *names) const override {
    win::RegKey key;
    if (!Open(&key, root, keyPath)) {
      return false;
    }
    for (DWORD index = 0;; ++index) {
      char name[MAX_PATH];
      DWORD size = MAX_PATH;
      if (::RegEnumKeyExA(key.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      names->emplace_back(name, size < MAX_PATH ? size : MAX_PATH - 1);
    }
    return true;
  }

  bool QueryValueText(RegRoot root, const std::string &keyPath, const std::string &valueName,
                      std::string *data) const override {
    win::RegKey key;
    if (!Open(&key, root, keyPath)) {
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

  base::StringList ListSubfolders(const std::string &folder) const override {
    base::StringList names;
    if (folder.size() + 3 >= MAX_PATH) {
      return names;
    }
    // The pattern folder + "*.*" fits the buffer, with its end.
    char pattern[MAX_PATH];
    std::memcpy(pattern, folder.data(), folder.size());
    std::memcpy(pattern + folder.size(), "*.*", 4);
    WIN32_FIND_DATAA data;
    win::FindHandle find;
    if (!find.First(pattern, &data)) {
      return names;
    }
    do {
      const char *name = data.cFileName;
      const bool dots = name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
      // A junction or symbolic link may point back up the tree: never descend through one.
      if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
              FILE_ATTRIBUTE_DIRECTORY &&
          !dots) {
        names.emplace_back(name);
      }
    } while (find.Next(&data));
    return names;
  }

  std::string SystemDirectory() const override { return FolderFrom(::GetSystemDirectoryA); }
  std::string WindowsDirectory() const override { return FolderFrom(::GetWindowsDirectoryA); }
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

  uint8_t Architecture() const override { return arch_; }

  bool SearchFolderTreeNative(const std::string &folder, uint32_t depth, const std::string &name,
                              std::string *version) const override {
    // Bound first: with the redirection off, a 32-bit program would find the 64-bit DLL.
    versions_.Bind();
    FsRedirectionOff off;
    return SearchFolderTree(*this, folder, depth, name, version);
  }

  bool ProductVersion(const std::string &productCode, std::string *version) const override {
    const auto getInfo = Msi<UINT(WINAPI *)(LPCSTR, LPCSTR, LPSTR, LPDWORD)>("MsiGetProductInfoA");
    char buffer[MAX_PATH];
    DWORD size = MAX_PATH;
    if (getInfo == nullptr ||
        getInfo(productCode.c_str(), "VersionString", buffer, &size) != ERROR_SUCCESS) {
      return false;
    }
    *version = std::string(buffer, size < MAX_PATH ? size : MAX_PATH - 1);
    return true;
  }

  base::StringList RelatedProducts(const std::string &upgradeCode) const override {
    base::StringList codes;
    const auto enumerate =
        Msi<UINT(WINAPI *)(LPCSTR, DWORD, DWORD, LPSTR)>("MsiEnumRelatedProductsA");
    char code[39]; // a ProductCode in braces
    for (DWORD index = 0;
         enumerate != nullptr && enumerate(upgradeCode.c_str(), 0, index, code) == ERROR_SUCCESS;
         ++index) {
      codes.emplace_back(code, 38);
    }
    return codes;
  }

private:
  // An entry point of msi.dll, bound from the system folder on first use: most runs never ask.
  // One body for both entry points; the callers name the signature.
  void *MsiProc(const char *name) const {
    if (!msi_.IsLoaded()) {
      msi_.Attach(win::LoadSystemLibrary("msi.dll"));
    }
    return msi_.Proc<void *>(name);
  }
  template <typename Fn> Fn Msi(const char *name) const {
    return reinterpret_cast<Fn>(MsiProc(name));
  }

  bool Open(win::RegKey *key, RegRoot root, const std::string &keyPath) const {
    REGSAM access = KEY_READ;
    // The views are named only where there are two: Windows 2000 and older know no such flag.
    if (arch_ != kArchX86) {
      if (IsView64(root)) {
        access |= KEY_WOW64_64KEY;
      } else if (IsView32(root)) {
        access |= KEY_WOW64_32KEY;
      }
    }
    return key->Open(IsCurrentUser(root) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, keyPath.c_str(),
                     access) == ERROR_SUCCESS;
  }

  win::FileVersionReader versions_;
  mutable win::Module msi_;
  const uint8_t arch_ = NativeArchitecture();
};

} // namespace

std::unique_ptr<SearchHost> CreatePlatformSearchHost() {
  return std::unique_ptr<SearchHost>(new WindowsMachine());
}

OsFamily CurrentOsFamily() {
  return (::GetVersion() & 0x80000000u) != 0 ? OsFamily::Windows9x : OsFamily::WindowsNT;
}
