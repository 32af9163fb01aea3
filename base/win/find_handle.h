// Owner of a FindFirstFileA search; Close() is safe to repeat.
#pragma once
#include <windows.h>

namespace win {

class FindHandle {
public:
  FindHandle() = default;
  ~FindHandle() { Close(); }
  FindHandle(const FindHandle &) = delete;
  FindHandle &operator=(const FindHandle &) = delete;

  bool First(const char *pattern, WIN32_FIND_DATAA *data) {
    Close();
    handle_ = ::FindFirstFileA(pattern, data);
    return handle_ != INVALID_HANDLE_VALUE;
  }
  bool Next(WIN32_FIND_DATAA *data) { return ::FindNextFileA(handle_, data) != FALSE; }
  void Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      ::FindClose(handle_);
      handle_ = INVALID_HANDLE_VALUE;
    }
  }

private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace win
