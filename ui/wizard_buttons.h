// The Back, Next and Finish buttons of a wizard sheet, switched directly with EnableWindow.
#pragma once
#include <windows.h>

constexpr int kWizardBack = 0x3023;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;

// Switches a button of the sheet that holds page. Next is then the sheet's default button, so
// that Enter presses it wherever it is enabled and nothing while it is not: the sheet makes
// Finish the default, and Finish would skip what the wizard offers to install. A button that
// goes off while it has the focus hands it to the page, never to Finish.
void EnableWizardButton(HWND page, int id, bool enable);
