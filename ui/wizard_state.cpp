#include "ui/wizard_state.h"

#include <commctrl.h>
#include <prsht.h>

bool AnswerCommonNotification(WizardState &state, UINT code) {
  switch (code) {
  case PSN_WIZFINISH: // the sheet closes; pending passes are not run
    state.finished = true;
    return true;
  case PSN_QUERYCANCEL: // the sheet closes without a question
  case PSN_WIZBACK:
  case PSN_KILLACTIVE:
  case PSN_APPLY:
  case PSN_RESET:
  case PSN_HELP:
    return true;
  default:
    return false;
  }
}
