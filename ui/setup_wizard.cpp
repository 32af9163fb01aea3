#include "ui/setup_wizard.h"

#include "base/win/module_state.h"

namespace {

int CALLBACK SheetCallback(HWND, UINT, LPARAM) { return 0; }

} // namespace

SetupWizard::SetupWizard(PrereqPlan &plan) : information_(state_), prerequisites_(plan, state_) {
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
  PROPSHEETHEADERA header = {};
  header.dwSize = PROPSHEETHEADERA_V1_SIZE;
  header.dwFlags = PSH_USECALLBACK | PSH_WIZARD | PSH_WIZARDHASFINISH;
  header.hwndParent = owner;
  header.hInstance = win::ModuleInstance();
  header.pszCaption = "SetupWizard";
  header.nPages = pageCount_;
  header.phpage = pages_;
  header.pfnCallback = &SheetCallback;
  ::PropertySheetA(&header);
}
