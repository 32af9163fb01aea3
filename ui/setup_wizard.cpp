#include "ui/setup_wizard.h"

#include "base/win/module_state.h"
#include "base/win/wide_text.h"
#include "ui/ui_text.h"

namespace {

// The sheet's own buttons in the user's language, once the sheet exists.
int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) {
    TranslateWindow(sheet, kWizardSheetTexts);
  }
  return 0;
}

} // namespace

SetupWizard::SetupWizard(PrereqPlan &plan, const std::string &title)
    : information_(state_), prerequisites_(plan, state_) {
  state_.title.Assign(title);
  // A page the system refuses is left out; the sheet runs with the others.
  HPROPSHEETPAGE pages[2] = {information_.CreatePage(), prerequisites_.CreatePage()};
  for (HPROPSHEETPAGE page : pages) {
    if (page != nullptr) {
      pages_[pageCount_++] = page;
    }
  }
}

SetupWizard::~SetupWizard() {
  if (!ran_) {
    for (UINT i = 0; i < pageCount_; ++i) {
      ::DestroyPropertySheetPage(pages_[i]);
    }
  }
}

void SetupWizard::Run(HWND owner) {
  if (ran_) {
    return; // the sheet destroyed its pages when it closed
  }
  ran_ = true;
  // Modal: no PSH_MODELESS. The first page starts.
  PROPSHEETHEADERW header = {};
  header.dwSize = PROPSHEETHEADERW_V1_SIZE;
  header.dwFlags = PSH_USECALLBACK | PSH_WIZARD | PSH_WIZARDHASFINISH;
  if (UiRightToLeft()) {
    header.dwFlags |= PSH_RTLREADING;
  }
  header.hwndParent = owner;
  header.hInstance = win::ModuleInstance();
  const win::WideText caption(UiText(ui_text::kWizardCaption));
  header.pszCaption = caption.get();
  header.nPages = pageCount_;
  header.phpage = pages_;
  header.pfnCallback = &SheetCallback;
  ::PropertySheetW(&header);
}
