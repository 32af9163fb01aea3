// The sheet's buttons as the keyboard meets them, in a real wizard: the information page, then a
// last page that switches the buttons as the prerequisites page does (Next runs a pass, after
// which only Finish is left). Enter is the sheet's own handling of the key.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include "base/win/module.h"
#include "ui/information_page.h"
#include "ui/wizard_buttons.h"
#include "ui/wizard_state.h"

namespace {

struct LastPage {
  bool passRun = false;
  bool finished = false;
};

// The buttons as the prerequisites page sets them: Next while a pass is pending, Finish always.
void ShowButtons(HWND page, const LastPage &last) {
  EnableWizardButton(page, kWizardNext, !last.passRun);
  EnableWizardButton(page, kWizardFinish, true);
}

INT_PTR CALLBACK LastPageProcedure(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEA *>(lParam)->lParam);
    return TRUE;
  }
  auto *last = reinterpret_cast<LastPage *>(::GetWindowLongPtrA(page, DWLP_USER));
  if (message != WM_NOTIFY || last == nullptr) {
    return FALSE;
  }
  switch (reinterpret_cast<const NMHDR *>(lParam)->code) {
  case PSN_SETACTIVE:
    ShowButtons(page, *last);
    break;
  case PSN_WIZNEXT: // the pass; the sheet stays on its last page
    last->passRun = true;
    ShowButtons(page, *last);
    break;
  case PSN_WIZFINISH:
    last->finished = true;
    break;
  default:
    return FALSE;
  }
  ::SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
  return TRUE;
}

// A page with one edit box.
struct alignas(4) PageTemplate {
  DLGTEMPLATE dialog;
  WORD menu, windowClass, title;
  DLGITEMTEMPLATE edit;
  WORD editClass[2], editTitle, editData;
};

// Enter as the sheet's message loop hands it over, to the window that has the focus.
void PressEnter(HWND sheet) {
  MSG key = {};
  key.hwnd = ::GetFocus() != nullptr ? ::GetFocus() : sheet;
  key.message = WM_KEYDOWN;
  key.wParam = VK_RETURN;
  ::SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&key));
}

int CurrentPage(HWND sheet) {
  HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  return page == nullptr ? -1
                         : static_cast<int>(::SendMessageA(sheet, PSM_HWNDTOINDEX,
                                                           reinterpret_cast<WPARAM>(page), 0));
}

TEST(WizardButtons, EnterPressesNextWhereverItIsEnabledAndNeverFinish) {
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  ASSERT_TRUE(richEdit.IsLoaded());
  WizardState state;
  InformationPage information(state);
  LastPage last;
  PageTemplate form = {{WS_CHILD, 0, 1, 0, 0, 200, 100},
                       0,
                       0,
                       0,
                       {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, 10, 10, 100, 14, 100},
                       {0xFFFF, 0x0081},
                       0,
                       0};
  PROPSHEETPAGEA lastPage = {};
  lastPage.dwSize = PROPSHEETPAGEA_V1_SIZE;
  lastPage.dwFlags = PSP_DLGINDIRECT;
  lastPage.pResource = &form.dialog;
  lastPage.pfnDlgProc = &LastPageProcedure;
  lastPage.lParam = reinterpret_cast<LPARAM>(&last);
  HPROPSHEETPAGE pages[2] = {information.CreatePage(), ::CreatePropertySheetPageA(&lastPage)};
  ASSERT_NE(pages[0], nullptr);
  ASSERT_NE(pages[1], nullptr);
  PROPSHEETHEADERA header = {};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = PSH_WIZARD | PSH_WIZARDHASFINISH | PSH_MODELESS;
  header.hInstance = ::GetModuleHandleA(nullptr);
  header.pszCaption = "Wizard";
  header.nPages = 2;
  header.phpage = pages;
  HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
  ASSERT_NE(sheet, nullptr);
  HWND next = ::GetDlgItem(sheet, kWizardNext);
  HWND finish = ::GetDlgItem(sheet, kWizardFinish);

  // Where the wizard opens, Enter moves on to the next page instead of skipping it.
  EXPECT_EQ(LOWORD(::SendMessageA(sheet, DM_GETDEFID, 0, 0)), kWizardNext);
  PressEnter(sheet);
  EXPECT_FALSE(state.finished);
  ASSERT_EQ(CurrentPage(sheet), 1);
  HWND field = ::GetDlgItem(
      reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)), 100);
  EXPECT_EQ(::GetFocus(), field);

  // On the last page Enter on Next runs its pass; the button goes off and hands the focus to
  // the page instead of leaving the keyboard nowhere.
  EXPECT_EQ(LOWORD(::SendMessageA(sheet, DM_GETDEFID, 0, 0)), kWizardNext);
  ::SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
  PressEnter(sheet);
  EXPECT_TRUE(last.passRun);
  EXPECT_FALSE(::IsWindowEnabled(next));
  EXPECT_EQ(::GetFocus(), field);

  // Finish is pressed only where the user put the focus on it: from anywhere else Enter does
  // nothing while Next is off.
  PressEnter(sheet);
  EXPECT_FALSE(last.finished);
  ::SendMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(finish), TRUE);
  PressEnter(sheet);
  EXPECT_TRUE(last.finished);
  EXPECT_FALSE(state.finished);
  ::DestroyWindow(sheet);
}

} // namespace
