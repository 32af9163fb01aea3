// The version-resource functions, bound at run time from the system folder: version.dll is
// not a known DLL, so a static import could be satisfied by a copy planted beside the setup.
#pragma once
#include <windows.h>

#include <string>

#include "base/buffer.h"
#include "base/win/module.h"

namespace win {

class VersionApi {
public:
  VersionApi();
  bool IsLoaded() const { return getSize_ != nullptr && getInfo_ != nullptr && query_ != nullptr; }

  // The file's whole version block (path text, base/file.h); false when it has none.
  bool ReadBlock(const std::string &path, base::Buffer<char> *block) const;
  // A value of a block (VerQueryValueW); false when absent.
  bool Query(const base::Buffer<char> &block, const wchar_t *subBlock, void **value,
             UINT *length) const;
  // One of the file's US-English version strings ("ProductName", ...) as path text (UTF-8),
  // empty when the block lacks it; false, with *value empty, when the file has no version block.
  bool ReadString(const std::string &path, const char *name, std::string *value) const;

private:
  // Everything goes through the W functions: any path reaches them, and a string keeps its
  // characters whatever the ANSI code page.
  using GetSizeFn = DWORD(WINAPI *)(LPCWSTR, LPDWORD);
  using GetInfoFn = BOOL(WINAPI *)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI *)(LPCVOID, LPCWSTR, LPVOID *, PUINT);

  Module module_;
  GetSizeFn getSize_ = nullptr;
  GetInfoFn getInfo_ = nullptr;
  QueryFn query_ = nullptr;
};

} // namespace win
