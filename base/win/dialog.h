// Dialogs over resource templates. A derived class names its template (kTemplateId) and a
// message map (kMessageMap: message, member handler); the dialog procedure dispatches to it.
// A handler returns what a dialog procedure returns: TRUE when it handled the message.
#pragma once
#include <windows.h>

#include "base/win/module_state.h"

namespace win {

template <class T> class Dialog {
public:
  struct MessageEntry {
    UINT message;
    INT_PTR (T::*handler)(WPARAM wParam, LPARAM lParam);
  };

  Dialog() = default;
  Dialog(const Dialog &) = delete;
  Dialog &operator=(const Dialog &) = delete;
  ~Dialog() { DestroyModeless(); }

  HWND hwnd() const { return hwnd_; }

  HWND CreateModeless(HWND owner) {
    modeless_ = true;
    return ::CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(T::kTemplateId), owner,
                                &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  }
  void DestroyModeless() {
    if (modeless_ && hwnd_ != nullptr) {
      ::DestroyWindow(hwnd_);
    }
  }
  INT_PTR RunModal(HWND owner) {
    modeless_ = false;
    return ::DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(T::kTemplateId), owner,
                             &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  }

private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    T *self = nullptr;
    if (message == WM_INITDIALOG) {
      self = reinterpret_cast<T *>(lParam);
      ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
      self->hwnd_ = hwnd;
    } else {
      self = reinterpret_cast<T *>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
      return FALSE;
    }
    if (message == WM_NCDESTROY) {
      self->hwnd_ = nullptr;
    }
    for (const MessageEntry &entry : T::kMessageMap) {
      if (entry.message == message) {
        return (self->*entry.handler)(wParam, lParam);
      }
    }
    return FALSE;
  }

  HWND hwnd_ = nullptr;
  bool modeless_ = false;
};

} // namespace win
