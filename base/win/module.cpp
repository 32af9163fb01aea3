#include "base/win/module.h"

#include <cstring>

#include "base/text.h"

namespace win {

namespace {
constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
}

FARPROC ProcAddressOf(HMODULE module, const char *name) {
  return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

FARPROC KernelProcAddress(const char *name) {
  return ProcAddressOf(::GetModuleHandleA("kernel32.dll"), name);
}

void HardenDllSearch() {
  // Present from Windows 8 (and on Windows 7 with KB2533623); looked up so older systems start.
  const auto setDefault = KernelProc<BOOL(WINAPI *)(DWORD)>("SetDefaultDllDirectories");
  if (setDefault != nullptr) {
    setDefault(kLoadLibrarySearchSystem32);
  }
  // Also takes the current folder out of the search, where the call exists (XP SP1 and later).
  const auto setDllDirectory = KernelProc<BOOL(WINAPI *)(LPCSTR)>("SetDllDirectoryA");
  if (setDllDirectory != nullptr) {
    setDllDirectory("");
  }
}

std::string SystemFolder() {
  char buffer[MAX_PATH];
  UINT length = ::GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return std::string();
  }
  std::string folder(buffer, length);
  text::EnsureTrailingBackslash(&folder);
  return folder;
}

HMODULE LoadSystemLibrary(const char *fileName) {
  std::string path = SystemFolder();
  if (path.empty()) {
    return nullptr;
  }
  path += fileName;
  return path.size() < MAX_PATH ? ::LoadLibraryA(path.c_str()) : nullptr;
}

} // namespace win
