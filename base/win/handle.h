// Owner of a kernel handle (thread, event, process, file). Close() is safe to repeat.
#pragma once
#include <windows.h>

namespace win {

class Handle {
public:
  Handle() = default;
  explicit Handle(HANDLE h) : handle_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle &) = delete;
  Handle &operator=(const Handle &) = delete;
  Handle(Handle &&other) noexcept : handle_(other.Detach()) {}
  Handle &operator=(Handle &&other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Detach();
    }
    return *this;
  }

  // Both NULL and INVALID_HANDLE_VALUE mean "no handle": the APIs disagree on which they return.
  bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Attach(HANDLE h) {
    Close();
    handle_ = h;
  }
  HANDLE Detach() {
    HANDLE h = handle_;
    handle_ = nullptr;
    return h;
  }
  bool Close() {
    if (!IsValid()) {
      handle_ = nullptr;
      return true;
    }
    BOOL ok = ::CloseHandle(handle_);
    handle_ = nullptr;
    return ok != FALSE;
  }

private:
  HANDLE handle_ = nullptr;
};

} // namespace win
