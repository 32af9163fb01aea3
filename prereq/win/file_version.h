// File versions from version resources, through version.dll bound at run time from the
// system folder (a copy planted beside the setup is never loaded).
#pragma once
#include <string>

#include "app/win/module.h"

namespace win {

class FileVersionReader {
public:
  // "%d.%d.%d.%d" of the fixed file information; "0.0.0.0" when there is none.
  std::string Text(const std::string &path) const;

private:
  bool Bind() const;

  mutable Module module_;
  mutable bool tried_ = false;
  using SizeFn = DWORD(WINAPI *)(LPCSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI *)(LPCSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI *)(LPCVOID, LPCSTR, LPVOID *, PUINT);
  mutable SizeFn getSize_ = nullptr;
  mutable InfoFn getInfo_ = nullptr;
  mutable QueryFn query_ = nullptr;
};

} // namespace win
