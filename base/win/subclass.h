// Window subclassing: a control's messages go to a handler first, and to the control's own
// procedure when the handler leaves them. The original procedure is put back when the
// subclass is removed, destroyed, or the window goes away.
#pragma once
#include <windows.h>

namespace win {

class Subclass {
public:
  // Returns true when it handled the message and set *result.
  using Handler = bool (*)(void *context, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT *result);

  Subclass() = default;
  ~Subclass() { Remove(); }
  Subclass(const Subclass &) = delete;
  Subclass &operator=(const Subclass &) = delete;

  bool Install(HWND hwnd, Handler handler, void *context);
  void Remove();

private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  Handler handler_ = nullptr;
  void *context_ = nullptr;
};

} // namespace win
