// The prerequisites wizard: a modal two-page property sheet. It reports one fact, whether the
// user left it with Finish; everything chosen and done stays in the plan.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "ui/information_page.h"
#include "ui/prerequisites_page.h"
#include "ui/wizard_state.h"

class PrereqPlan;

class SetupWizard {
public:
  // title: the sheet's, path text.
  SetupWizard(PrereqPlan &plan, const std::string &title);
  // Destroys the pages of a sheet that never ran.
  ~SetupWizard();
  SetupWizard(const SetupWizard &) = delete;
  SetupWizard &operator=(const SetupWizard &) = delete;

  // Shows the sheet owned by owner (may be null) and returns when it has closed.
  void Run(HWND owner);
  // True unless a page handled Finish.
  bool cancelled() const { return !state_.finished; }
  // True when the user chose to restart Windows now (the sheet then closed as cancelled).
  bool restartNow() const { return state_.restartNow; }

private:
  // The pages the system made, in order: at most the two below.
  HPROPSHEETPAGE pages_[2] = {};
  UINT pageCount_ = 0;
  bool ran_ = false;
  // Before the pages, which keep a reference to it.
  WizardState state_;
  InformationPage information_;
  PrerequisitesPage prerequisites_;
};
