#include "app/status_window.h"

#include "resources/resource.h"
#include "ui/ui_text.h"

const StatusWindow::MessageEntry StatusWindow::kMessageMap[1] = {
    {WM_INITDIALOG, &StatusWindow::OnInitDialog},
};

bool StatusWindow::Create() {
  if (CreateModeless(nullptr) == nullptr) {
    return false;
  }
  // No message loop runs while the setup works: paint once now so the text is seen.
  ::UpdateWindow(hwnd());
  return true;
}

void StatusWindow::SetCaption(const std::string &caption) {
  SetUiWindowText(hwnd(), caption);
  ::UpdateWindow(hwnd());
}

void StatusWindow::SetText(const std::string &text) {
  // The line itself is painted: no message loop runs to paint it later, and updating the
  // window alone leaves its controls showing the text they had. Looking into the queue lets
  // a system that composes windows (Wine's) show what was painted.
  HWND line = ::GetDlgItem(hwnd(), IDC_STATUS_TEXT);
  SetUiWindowText(line, text);
  ::UpdateWindow(line);
  static MSG message;
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

INT_PTR StatusWindow::OnInitDialog(WPARAM, LPARAM) {
  TranslateWindow(hwnd(), IDD_STATUS);
  // Centred on the work area, so the taskbar never covers it.
  RECT work;
  RECT window;
  if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) && ::GetWindowRect(hwnd(), &window)) {
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    ::SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return TRUE; // let the system set the focus
}
