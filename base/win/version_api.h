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
  // A value of a block (VerQueryValueA); false when absent.
  bool Query(const base::Buffer<char> &block, const char *subBlock, void **value,
             UINT *length) const;
  // One of the file's US-English version strings ("ProductName", ...), empty when the block
  // lacks it; false, with *value empty, when the file has no version block.
  bool ReadString(const std::string &path, const char *name, std::string *value) const;

private:
  // The block is read through the W functions, so that any path reaches them; its strings
  // are asked for through VerQueryValueA, which gives them in the ANSI code page whichever
  // function read the block.
  using GetSizeFn = DWORD(WINAPI *)(LPCWSTR, LPDWORD);
  using GetInfoFn = BOOL(WINAPI *)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI *)(LPCVOID, LPCSTR, LPVOID *, PUINT);

  Module module_;
  GetSizeFn getSize_ = nullptr;
  GetInfoFn getInfo_ = nullptr;
  QueryFn query_ = nullptr;
};

} // namespace win
