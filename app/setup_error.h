// Start-up failures turned into the one message box the user sees.
#pragma once
#include "archive/archive_format.h"

// 1 when the code is 0 (nothing shown); otherwise 0 after the error box.
int ReportSetupError(int code);
// The string id of a code's message.
unsigned MessageIdForSetupError(int code);
// The error box with that string's text.
void ShowErrorBox(unsigned messageId);
