#include "ui/information_page.h"

#include <richedit.h>

#include <cstring>

#include "base/win/centre_on_owner.h"
#include "resources/resource.h"
#include "ui/information_document.h"
#include "ui/ui_text.h"
#include "ui/wizard_buttons.h"

const InformationPage::MessageEntry InformationPage::kMessageMap[2] = {
    {WM_INITDIALOG, &InformationPage::OnInitDialog},
    {WM_NOTIFY, &InformationPage::OnNotify},
};

INT_PTR InformationPage::OnInitDialog(WPARAM, LPARAM) {
  TranslateWindow(hwnd(), IDD_INFORMATION_PAGE);
  HWND text = ::GetDlgItem(hwnd(), IDC_INFORMATION_TEXT);
  ::SendMessageW(text, EM_SETREADONLY, TRUE, 0);
  document_ = UiText(ui_text::kInformationDocument, kInformationDocument);
  documentLength_ = std::strlen(document_) + 1;
  readPosition_ = 0;
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(this);
  stream.pfnCallback = &InformationPage::ReadDocument;
  ::SendMessageW(text, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  textHandler_.Install(text, &InformationPage::OnTextMessage, this);
  // Only the prerequisites page enables Finish again, once nothing mandatory is pending.
  if (state_.mandatoryPending > 0) {
    EnableWizardButton(hwnd(), kWizardFinish, false);
  }
  return FALSE;
}

DWORD CALLBACK InformationPage::ReadDocument(DWORD_PTR cookie, LPBYTE buffer, LONG size,
                                             LONG *read) {
  auto *self = reinterpret_cast<InformationPage *>(cookie);
  const size_t left = self->documentLength_ - self->readPosition_;
  const size_t count = static_cast<size_t>(size) < left ? static_cast<size_t>(size) : left;
  std::memcpy(buffer, self->document_ + self->readPosition_, count);
  self->readPosition_ += count;
  *read = static_cast<LONG>(count);
  return 0; // success; a read of nothing ends the stream
}

bool InformationPage::OnTextMessage(void *, HWND hwnd, UINT message, WPARAM, LPARAM,
                                    LRESULT *result) {
  if (message == WM_GETDLGCODE) {
    // Arrows scroll the text; Tab and Enter stay the wizard's, so that the text is a stop on
    // the way to the buttons and Enter still presses Next.
    *result = DLGC_WANTARROWS;
    return true;
  }
  if (message != WM_SETFOCUS) {
    return false;
  }
  // The control's own focus handling never runs, so no caret shows; the text's beginning
  // comes back into view each time it gains the focus.
  ::SendMessageW(hwnd, EM_SETSEL, 0, 0);
  ::SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
  *result = 0;
  return true;
}

namespace {

void SetSheetIcon(HWND frame, WPARAM kind, int widthMetric, int heightMetric, win::Icon *icon) {
  icon->Attach(static_cast<HICON>(::LoadImageA(win::ModuleInstance(), MAKEINTRESOURCEA(IDI_SETUP),
                                               IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                               ::GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR)));
  ::SendMessageW(frame, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon->Get()));
}

} // namespace

void InformationPage::OnFirstActivation() {
  // The big icon, then the small one, each at the size the system asks for.
  HWND frame = sheet();
  SetSheetIcon(frame, ICON_BIG, SM_CXICON, SM_CYICON, &icons_[0]);
  SetSheetIcon(frame, ICON_SMALL, SM_CXSMICON, SM_CYSMICON, &icons_[1]);
  CentreOnOwner(frame);
  iconsSet_ = true;
}

INT_PTR InformationPage::OnNotify(WPARAM, LPARAM lParam) {
  const auto *header = reinterpret_cast<const NMHDR *>(lParam);
  if (header->hwndFrom != hwnd() && header->hwndFrom != sheet()) {
    return FALSE;
  }
  switch (header->code) {
  case PSN_SETACTIVE:
    if (!iconsSet_) {
      OnFirstActivation();
    }
    EnableWizardButton(hwnd(), kWizardBack, false);
    EnableWizardButton(hwnd(), kWizardNext, true);
    ::PostMessageW(sheet(), PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(state_.title.get()));
    return NotifyResult(0); // 0: the page may be shown
  case PSN_WIZNEXT:
    EnableWizardButton(hwnd(), kWizardBack, true);
    return NotifyResult(0); // 0: the sheet moves on to the prerequisites page
  default:
    // 0 for Finish, Cancel and the notifications that need nothing; FALSE: not this page's.
    return AnswerCommonNotification(state_, header->code) ? NotifyResult(0) : FALSE;
  }
}
