// Owner of an icon loaded with LoadImage (not shared): destroyed with its owner.
#pragma once
#include <windows.h>

namespace win {

class Icon {
public:
  Icon() = default;
  ~Icon() { Destroy(); }
  Icon(const Icon &) = delete;
  Icon &operator=(const Icon &) = delete;

  HICON Get() const { return icon_; }
  void Attach(HICON icon) {
    Destroy();
    icon_ = icon;
  }
  void Destroy() {
    if (icon_ != nullptr) {
      ::DestroyIcon(icon_);
      icon_ = nullptr;
    }
  }

private:
  HICON icon_ = nullptr;
};

} // namespace win
