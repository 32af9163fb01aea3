// Property-sheet pages over resource templates, dispatched like win::Dialog: a derived class
// names its template (kTemplateId) and a message map (kMessageMap). The page object is found
// through the PROPSHEETPAGE that WM_INITDIALOG carries.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "base/win/module_state.h"

namespace win {

template <class T> class PropertyPage {
public:
  struct MessageEntry {
    UINT message;
    INT_PTR (T::*handler)(WPARAM wParam, LPARAM lParam);
  };

  PropertyPage() = default;
  PropertyPage(const PropertyPage &) = delete;
  PropertyPage &operator=(const PropertyPage &) = delete;

  HWND hwnd() const { return hwnd_; }
  // The property sheet that holds the page; null before the page exists.
  HWND sheet() const { return hwnd_ != nullptr ? ::GetParent(hwnd_) : nullptr; }

  // A page built from the template with PSP_USECALLBACK and no title of its own; null when
  // the system refuses. The sheet that receives it destroys it.
  HPROPSHEETPAGE CreatePage() {
    PROPSHEETPAGEA page = {};
    page.dwSize = PROPSHEETPAGEA_V1_SIZE;
    page.dwFlags = PSP_USECALLBACK;
    page.hInstance = ModuleInstance();
    page.pszTemplate = MAKEINTRESOURCEA(T::kTemplateId);
    page.pfnDlgProc = &PropertyPage::Procedure;
    page.lParam = reinterpret_cast<LPARAM>(this);
    page.pfnCallback = &PropertyPage::PageCallback;
    return ::CreatePropertySheetPageA(&page);
  }

protected:
  // The answer to a WM_NOTIFY: dialog procedures hand results back through DWLP_MSGRESULT.
  INT_PTR NotifyResult(LRESULT result) {
    ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }

private:
  static UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEA) {
    // PSPCB_CREATE: 1 lets the page be created; PSPCB_RELEASE ignores the result.
    return message == PSPCB_CREATE ? 1 : 0;
  }

  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    T *self = nullptr;
    if (message == WM_INITDIALOG) {
      const auto *page = reinterpret_cast<const PROPSHEETPAGEA *>(lParam);
      self = reinterpret_cast<T *>(page->lParam);
      ::SetWindowLongPtrA(hwnd, DWLP_USER, page->lParam);
      self->hwnd_ = hwnd;
    } else {
      self = reinterpret_cast<T *>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) {
      return FALSE;
    }
    if (message == WM_NCDESTROY) {
      self->hwnd_ = nullptr;
      return FALSE;
    }
    for (const MessageEntry &entry : T::kMessageMap) {
      if (entry.message == message) {
        return (self->*entry.handler)(wParam, lParam);
      }
    }
    return FALSE;
  }

  HWND hwnd_ = nullptr;
};

} // namespace win
