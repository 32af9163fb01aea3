// Dialogs over resource templates. A derived class names its template (kTemplateId) and a
// message map (kMessageMap, see win::MessageMap); the dialog procedure dispatches to it. The
// dialogs are Unicode windows, so that a text in any language keeps its characters.
#pragma once
#include <windows.h>

#include "base/win/message_map.h"
#include "base/win/module_state.h"

namespace win {

template <class T> class Dialog : public MessageMap<T> {
public:
  Dialog() = default;
  ~Dialog() { DestroyModeless(); }

  HWND CreateModeless(HWND owner) {
    modeless_ = true;
    return ::CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(T::kTemplateId), owner,
                                &Dialog::DialogProcedure, Parameter());
  }
  void DestroyModeless() {
    if (modeless_ && this->hwnd() != nullptr) {
      ::DestroyWindow(this->hwnd());
    }
  }
  INT_PTR RunModal(HWND owner) {
    modeless_ = false;
    return ::DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(T::kTemplateId), owner,
                             &Dialog::DialogProcedure, Parameter());
  }

private:
  // The dialog's creation parameter: the object, for the dialog procedure.
  LPARAM Parameter() { return reinterpret_cast<LPARAM>(static_cast<MessageTarget *>(this)); }

  bool modeless_ = false;
};

} // namespace win
