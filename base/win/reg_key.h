// Owner of an open registry key; Close() is safe to repeat.
#pragma once
#include <windows.h>

namespace win {

class RegKey {
public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(const RegKey &) = delete;
  RegKey &operator=(const RegKey &) = delete;

  LONG Open(HKEY parent, const char *path, REGSAM access) {
    Close();
    return ::RegOpenKeyExA(parent, path, 0, access, &key_);
  }
  bool IsOpen() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }
  void Close() {
    if (key_ != nullptr) {
      ::RegCloseKey(key_);
      key_ = nullptr;
    }
  }

private:
  HKEY key_ = nullptr;
};

} // namespace win
