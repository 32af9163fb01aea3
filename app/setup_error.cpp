#include "app/setup_error.h"

#include <windows.h>

#include "resources/resource.h"
#include "ui/ui_text.h"

unsigned MessageIdForSetupError(int code) {
  switch (code) {
  case kFileError:
    return IDS_READ_ERROR;
  case kCorrupted:
    return IDS_CORRUPTED;
  case kUnsupportedVersion:
    return IDS_UNSUPPORTED_VERSION;
  case kInstallerNotStarted:
    return IDS_INSTALLER_NOT_STARTED;
  default: // 3, 4 and anything else
    return IDS_EXTRACT_ERROR;
  }
}

void ShowErrorBox(unsigned messageId) {
  // No caption of its own: the system shows its default, "Error".
  ShowUiMessage(nullptr, UiString(messageId), nullptr, MB_OK | MB_ICONERROR);
}

int ReportSetupError(int code) {
  if (code == kSetupOk) {
    return 1;
  }
  ShowErrorBox(MessageIdForSetupError(code));
  return 0;
}
