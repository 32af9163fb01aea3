// The Back, Next and Finish buttons of a wizard sheet, switched directly with EnableWindow.
#pragma once
#include <windows.h>

constexpr int kWizardBack = 0x3023;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;

// Switches a button of the sheet that holds page.
void EnableWizardButton(HWND page, int id, bool enable);
