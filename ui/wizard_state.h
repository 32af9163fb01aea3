// What the wizard's pages share: the sheet's title, what the first page must know of the
// second, and what the user decided. The wizard holds it; each page gets it by reference.
#pragma once
#include <windows.h>

#include "base/win/wide_text.h"

struct WizardState {
  // The sheet's title, kept for the messages posted to set it.
  win::WideText title;
  // Mandatory prerequisites still to be downloaded or installed: Finish stays off meanwhile.
  int mandatoryPending = 0;
  // A page handled Finish.
  bool finished = false;
  // The user chose to restart Windows now (the sheet then closed as cancelled).
  bool restartNow = false;
};

// The sheet's notifications both pages answer alike (Finish, Cancel and the ones that need
// nothing); true when code is one of them and has been handled, its answer then being 0.
bool AnswerCommonNotification(WizardState &state, UINT code);
