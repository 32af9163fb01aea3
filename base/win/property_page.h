// Property-sheet pages over resource templates, dispatched like win::Dialog: a derived class
// names its template (kTemplateId) and a message map (kMessageMap, see win::MessageMap). The
// page object is found through the PROPSHEETPAGE that WM_INITDIALOG carries.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "base/win/message_map.h"
#include "base/win/module_state.h"

namespace win {

// The page of a template whose messages go to procedure, with parameter as its lParam: one
// builder for every page class.
HPROPSHEETPAGE CreateTemplatePage(int templateId, DLGPROC procedure, LPARAM parameter);

template <class T> class PropertyPage : public MessageMap<T> {
public:
  // The property sheet that holds the page; null before the page exists.
  HWND sheet() const { return this->hwnd() != nullptr ? ::GetParent(this->hwnd()) : nullptr; }

  // A Unicode page built from the template with PSP_USECALLBACK and no title of its own;
  // null when the system refuses. The sheet that receives it destroys it.
  HPROPSHEETPAGE CreatePage() {
    return CreateTemplatePage(T::kTemplateId, &PropertyPage::PageProcedure,
                              reinterpret_cast<LPARAM>(static_cast<MessageTarget *>(this)));
  }

protected:
  // The answer to a WM_NOTIFY: dialog procedures hand results back through DWLP_MSGRESULT.
  INT_PTR NotifyResult(LRESULT result) {
    ::SetWindowLongPtrW(this->hwnd(), DWLP_MSGRESULT, result);
    return TRUE;
  }
};

} // namespace win
