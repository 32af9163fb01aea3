// The prerequisites wizard: a modal two-page property sheet. It reports one fact, whether the
// user left it with Finish; everything chosen and done stays in the plan.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "ui/information_page.h"
#include "ui/prerequisites_page.h"

class PrereqPlan;

class SetupWizard {
public:
  explicit SetupWizard(PrereqPlan &plan);
  // Destroys the pages of a sheet that never ran.
  ~SetupWizard();
  SetupWizard(const SetupWizard &) = delete;
  SetupWizard &operator=(const SetupWizard &) = delete;

  // Shows the sheet owned by owner (may be null) and returns when it has closed.
  void Run(HWND owner);
  // True unless a page handled Finish.
  bool cancelled() const { return cancelled_; }

  // True when the user chose to restart Windows now (the sheet then closed as cancelled).
  bool restartNow() const { return restartNow_; }

  // For the pages.
  void Finish() { cancelled_ = false; }
  void EndForRestart(bool now) { restartNow_ = now; }
  // The sheet's notifications both pages answer alike (Finish, Cancel and the ones that need
  // nothing); true when code is one of them and has been handled, its answer then being 0.
  bool AnswerCommonNotification(UINT code);
  int mandatoryPending() const { return prerequisites_.mandatoryPending(); }
  const std::string &title() const { return prerequisites_.title(); }

private:
  // The pages the system made, in order: at most the two below.
  HPROPSHEETPAGE pages_[2] = {};
  UINT pageCount_ = 0;
  bool cancelled_ = true;
  bool ran_ = false;
  bool restartNow_ = false;
  InformationPage information_;
  PrerequisitesPage prerequisites_;
};
