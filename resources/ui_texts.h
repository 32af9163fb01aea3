// The keys of the texts a language file may give the setup's windows, and the English of the
// texts the code sets. A language table (archive/language_table.h) stores its texts under these
// keys; the packer's catalogue gives each its name in the language file
// (packer/language/text_catalogue.cpp, one line a text).
//   - a string-table text: its string id (below 0x1000);
//   - a control's text in a dialog template: DialogTextKey(template, control); the dialog's
//     caption: DialogTextKey(template, 0);
//   - a text the code sets: 0x1000 and up, below.
#pragma once
#include <cstdint>

#include "download_dialog_ids.h"

constexpr uint32_t DialogTextKey(uint32_t templateId, uint32_t controlId) {
  return templateId << 16 | controlId;
}

// The wizard's sheet has no template of its own; its caption and buttons are keyed as if it had
// this one.
constexpr uint32_t kWizardSheetTexts = 200;

// A text the code sets: its key and its English, which stands when the language lacks it.
struct UiTextRef {
  uint32_t key;
  const char *english;
};

namespace ui_text {

// The caption the wizard's sheet has until its first page gives it the title.
constexpr UiTextRef kWizardCaption = {DialogTextKey(kWizardSheetTexts, 0), "SetupWizard"};

// The product name and " Setup": every window's title.
constexpr UiTextRef kTitle = {0x1001, "{product} Setup"};

// The prerequisites page.
constexpr UiTextRef kHintDownload = {
    0x1010, "Please press the Next button to start downloading the prerequisites."};
constexpr UiTextRef kHintInstall = {0x1011,
                                    "Please press the Next button to install the prerequisites."};
constexpr UiTextRef kHintFinish = {
    0x1012, "Please press the Finish button to install the main application."};
constexpr UiTextRef kRestartQuestion = {0x1013, "Windows must restart to go on. Restart now?"};
// The accessible name of the Action list opened on a row.
constexpr UiTextRef kActionFor = {0x1014, "Action for {name}"};
constexpr UiTextRef kNameColumn = {0x1020, "Name"};
constexpr UiTextRef kStatusColumn = {0x1021, "Status"};
constexpr UiTextRef kActionColumn = {0x1022, "Action"};
// The Status column of a row whose setup failed: its exit code, then its usual status.
constexpr UiTextRef kExitCodeStatus = {0x1047, "Exit code {code}. {status}"};

// 0x1030 to 0x1046: the Action texts and the Status column's forms, which the log writes in
// English too; they are defined with their English in prereq/prerequisite_list.h.

// The download dialog.
constexpr UiTextRef kUrlColumn = {0x1050, "URL"};
constexpr UiTextRef kDownloadStatusColumn = {0x1051, "Status"};
constexpr UiTextRef kPause = {DialogTextKey(IDD_DOWNLOAD, IDC_PAUSE), "Pause"};
constexpr UiTextRef kResume = {0x1052, "Resume"};
constexpr UiTextRef kSpeed = {0x1053, "{whole}.{fraction} KB/s"};
constexpr UiTextRef kPercent = {0x1054, "{count}%"};
constexpr UiTextRef kKilobytes = {0x1055, "{count} KB"};
constexpr UiTextRef kWrongSize = {
    0x1056, "Wrong file size. The downloaded file cannot be found or is corrupt."};

// The information page's document, Rich Text; its English is kInformationDocument.
constexpr uint32_t kInformationDocument = 0x1060;

} // namespace ui_text
