#include "base/win/subclass.h"

// The controls are Unicode windows: an ANSI procedure would have their texts go through the
// ANSI code page.

namespace win {

namespace {
// The window property through which the replacement procedure finds its Subclass.
constexpr char kProperty[] = "Tessara.Subclass";
} // namespace

bool Subclass::Install(HWND hwnd, Handler handler, void *context) {
  Remove();
  if (hwnd == nullptr || !::SetPropA(hwnd, kProperty, this)) {
    return false;
  }
  handler_ = handler;
  context_ = context;
  hwnd_ = hwnd;
  original_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::Procedure)));
  if (original_ == nullptr) {
    ::RemovePropA(hwnd, kProperty);
    hwnd_ = nullptr;
    return false;
  }
  return true;
}

void Subclass::Remove() {
  if (hwnd_ == nullptr) {
    return;
  }
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  ::RemovePropA(hwnd_, kProperty);
  hwnd_ = nullptr;
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *self = static_cast<Subclass *>(::GetPropA(hwnd, kProperty));
  if (self == nullptr) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  const WNDPROC original = self->original_;
  if (message == WM_NCDESTROY) {
    // The window goes: its own procedure gets the last message and the subclass ends.
    self->Remove();
    return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->handler_(self->context_, hwnd, message, wParam, lParam, &result)) {
    return result;
  }
  return ::CallWindowProcW(original, hwnd, message, wParam, lParam);
}

} // namespace win
