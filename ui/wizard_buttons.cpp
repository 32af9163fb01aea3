#include "ui/wizard_buttons.h"

void EnableWizardButton(HWND page, int id, bool enable) {
  ::EnableWindow(::GetDlgItem(::GetParent(page), id), enable ? TRUE : FALSE);
}
