// The Back, Next and Finish buttons of a wizard sheet, switched directly with EnableWindow.
#pragma once
#include <windows.h>

constexpr int kWizardBack = 0x3023;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;

inline void EnableWizardButton(HWND sheet, int id, bool enable) {
  ::EnableWindow(::GetDlgItem(sheet, id), enable ? TRUE : FALSE);
}
