// The sheet's buttons as the keyboard meets them, on the real information page: Enter is the
// sheet's own handling of the key, given to the window that has the focus.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include "base/win/module.h"
#include "ui/information_page.h"
#include "ui/wizard_buttons.h"
#include "ui/wizard_state.h"

namespace {

void PressEnter(HWND sheet) {
  MSG key = {};
  key.hwnd = ::GetFocus() != nullptr ? ::GetFocus() : sheet;
  key.message = WM_KEYDOWN;
  key.wParam = VK_RETURN;
  ::SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&key));
}

TEST(WizardButtons, EnterPressesNextWhereverItIsEnabledAndNeverFinish) {
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  ASSERT_TRUE(richEdit.IsLoaded());
  WizardState state;
  InformationPage information(state);
  HPROPSHEETPAGE page = information.CreatePage();
  ASSERT_NE(page, nullptr);
  PROPSHEETHEADERA header = {};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = PSH_WIZARD | PSH_WIZARDHASFINISH | PSH_MODELESS;
  header.hInstance = ::GetModuleHandleA(nullptr);
  header.nPages = 1;
  header.phpage = &page;
  HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
  ASSERT_NE(sheet, nullptr);
  HWND back = ::GetDlgItem(sheet, kWizardBack);
  HWND next = ::GetDlgItem(sheet, kWizardNext);
  HWND finish = ::GetDlgItem(sheet, kWizardFinish);
  HWND text = ::GetFocus();

  // Where the wizard opens (the text has the focus, Finish is on), Enter is Next, which the
  // page answers by enabling Back; the sheet would have made it Finish.
  ASSERT_TRUE(::IsWindowEnabled(finish));
  EXPECT_EQ(::GetDlgCtrlID(text), IDC_INFORMATION_TEXT);
  PressEnter(sheet);
  EXPECT_FALSE(state.finished);
  EXPECT_TRUE(::IsWindowEnabled(back));

  // Next going off while it has the focus hands the focus to the page, where Enter then does
  // nothing: Finish is pressed only where the user puts the focus on it.
  ::SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  EnableWizardButton(::GetParent(text), kWizardNext, false);
  EXPECT_EQ(::GetFocus(), text);
  PressEnter(sheet);
  EXPECT_FALSE(state.finished);
  ::SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(finish), TRUE);
  PressEnter(sheet);
  EXPECT_TRUE(state.finished);
  ::DestroyWindow(sheet);
}

} // namespace
