#include "base/win/message_map.h"

#include <commctrl.h>
#include <prsht.h>

namespace win {

INT_PTR MessageTarget::Deliver(MessageTarget *target, HWND hwnd, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(target));
    target->hwnd_ = hwnd;
  } else {
    target = reinterpret_cast<MessageTarget *>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (target == nullptr) {
    return FALSE;
  }
  if (message == WM_NCDESTROY) {
    target->hwnd_ = nullptr;
    return FALSE;
  }
  for (size_t i = 0; i < target->count_; ++i) {
    if (target->map_[i].message == message) {
      return (target->*target->map_[i].handler)(wParam, lParam);
    }
  }
  return FALSE;
}

INT_PTR CALLBACK MessageTarget::DialogProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  return Deliver(reinterpret_cast<MessageTarget *>(lParam), hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK MessageTarget::PageProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  MessageTarget *target = nullptr;
  if (message == WM_INITDIALOG) {
    target =
        reinterpret_cast<MessageTarget *>(reinterpret_cast<const PROPSHEETPAGEW *>(lParam)->lParam);
  }
  return Deliver(target, hwnd, message, wParam, lParam);
}

} // namespace win
