#include "ui/wizard_buttons.h"

void EnableWizardButton(HWND page, int id, bool enable) {
  HWND sheet = ::GetParent(page);
  HWND button = ::GetDlgItem(sheet, id);
  const bool hadFocus = button == ::GetFocus();
  ::EnableWindow(button, enable ? TRUE : FALSE);
  ::SendMessageW(sheet, DM_SETDEFID, kWizardNext, 0);
  if (hadFocus && !enable) {
    // A disabled button loses the focus, which would leave the keyboard nowhere: the page takes
    // it back to its control that had it last, or to its first.
    ::SetFocus(page);
  }
}
