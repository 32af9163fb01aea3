#include "packer/language/text_catalogue.h"

#include "prereq/prerequisite_list.h"
#include "resources/download_dialog_ids.h"
#include "resources/launch_dialog_ids.h"
#include "resources/resource.h"
#include "resources/setup_wizard_ids.h"
#include "resources/ui_texts.h"

namespace {

constexpr uint32_t kCancelButton = 2; // IDCANCEL
constexpr uint32_t kSheetBack = 0x3023;
constexpr uint32_t kSheetNext = 0x3024;
constexpr uint32_t kSheetFinish = 0x3025;

// The information document in the markup of a language file (see language_file.h): the same
// paragraphs and emphasis as the English one the setup carries.
const char kEnglishDocument[] =
    "# Required Prerequisites\n"
    "\n"
    "The setup has determined that some of the prerequisites needed to run this program are "
    "missing. This wizard will assist you in getting and installing those prerequisites. "
    "Clicking on the **Next** button will take you to the PreRequisites page.\n"
    "\n"
    "Depending on its installation state, each prerequisite may require one of the following "
    "Actions: \n"
    "\n"
    "- Download - the prerequisite is missing and it must be downloaded in order to be "
    "installed on this computer.\n"
    "- Install - the prerequisite is available and it will be installed.\n"
    "- Don't install - an acceptable version is already installed.\n"
    "\n"
    "Clicking on the **Next** button while in the prerequisites page will perform the scheduled "
    "actions starting with the downloads and finishing with the installs.\n"
    "\n"
    "You may click on the **Finish** button at any time, to completely skip the installation of "
    "prerequisites and jump to the installation of the main program. Clicking on **Cancel** "
    "will cancel the installation completely.\n";

CatalogueText Text(const char *name, UiTextRef text, TextWindow window = TextWindow::None) {
  return {name, text.key, text.english, window, TextKind::Plain};
}

CatalogueText Control(const char *name, uint32_t templateId, uint32_t control, const char *english,
                      TextWindow window) {
  return {name, DialogTextKey(templateId, control), english, window, TextKind::Plain};
}

CatalogueText Shared(const char *name, PrereqText text) {
  return {name, text.key, text.english, TextWindow::None, TextKind::Plain};
}

const CatalogueText kTexts[] = {
    Text("Setup.Title", ui_text::kTitle),

    Control("StatusWindow.Caption", IDD_STATUS, 0, "Setup", TextWindow::Status),
    Control("StatusWindow.Preparing", IDD_STATUS, IDC_STATUS_TEXT, "Preparing...",
            TextWindow::Status),
    Text("StatusWindow.Extracting", {IDS_EXTRACTING, "Extracting the main application files..."}),
    Text("Error.ReadFailed", {IDS_READ_ERROR, "An error occured while reading the file."}),
    Text("Error.Corrupted", {IDS_CORRUPTED, "This archive is corupted."}),
    Text("Error.UnsupportedVersion",
         {IDS_UNSUPPORTED_VERSION, "This archive has an an unsuported version."}),
    Text("Error.ExtractFailed", {IDS_EXTRACT_ERROR, "An error ocured while extracting."}),
    Text("Error.InstallerNotStarted",
         {IDS_INSTALLER_NOT_STARTED, "Windows Installer could not be started."}),

    // The sheet's own buttons are the system's; a language file may give them too.
    Text("Wizard.Caption", ui_text::kWizardCaption, TextWindow::Sheet),
    Control("Wizard.Back", kWizardSheetTexts, kSheetBack, "< &Back", TextWindow::Sheet),
    Control("Wizard.Next", kWizardSheetTexts, kSheetNext, "&Next >", TextWindow::Sheet),
    Control("Wizard.Finish", kWizardSheetTexts, kSheetFinish, "Finish", TextWindow::Sheet),
    Control("Wizard.Cancel", kWizardSheetTexts, kCancelButton, "Cancel", TextWindow::Sheet),

    Control("InformationPage.Caption", IDD_INFORMATION_PAGE, 0, "PreRequisites Setup",
            TextWindow::Information),
    Control("InformationPage.Group", IDD_INFORMATION_PAGE, IDC_INFORMATION_GROUP, "Information",
            TextWindow::Information),
    {"InformationPage.Document", ui_text::kInformationDocument, kEnglishDocument, TextWindow::None,
     TextKind::Document},

    Control("PrerequisitesPage.Caption", IDD_PREREQUISITES_PAGE, 0, "PreRequisites Setup",
            TextWindow::Prerequisites),
    Control("PrerequisitesPage.Group", IDD_PREREQUISITES_PAGE, IDC_PREREQ_GROUP, "PreRequisites",
            TextWindow::Prerequisites),
    Control("PrerequisitesPage.Explanation", IDD_PREREQUISITES_PAGE, IDC_PREREQ_EXPLANATION,
            "The Status column lists the installed version(s) and the required version for each "
            "prerequisite. The Action column indicates the action needed to get the prerequisite "
            "up to date. To override, click on it and select a new action.",
            TextWindow::Prerequisites),
    Control("PrerequisitesPage.FolderLabel", IDD_PREREQUISITES_PAGE, IDC_FOLDER_LABEL,
            "Download Folder:", TextWindow::Prerequisites),
    Control("PrerequisitesPage.Browse", IDD_PREREQUISITES_PAGE, IDC_BROWSE, "B&rowse...",
            TextWindow::Prerequisites),
    Text("PrerequisitesPage.NameColumn", ui_text::kNameColumn),
    Text("PrerequisitesPage.StatusColumn", ui_text::kStatusColumn),
    Text("PrerequisitesPage.ActionColumn", ui_text::kActionColumn),
    Text("PrerequisitesPage.HintDownload", ui_text::kHintDownload),
    Text("PrerequisitesPage.HintInstall", ui_text::kHintInstall),
    Text("PrerequisitesPage.HintFinish", ui_text::kHintFinish),
    Text("PrerequisitesPage.ActionFor", ui_text::kActionFor),
    Text("PrerequisitesPage.BrowseTitle",
         {IDS_SELECT_DOWNLOAD_FOLDER, "Select the download folder."}),
    Text("PrerequisitesPage.RestartQuestion", ui_text::kRestartQuestion),
    Text("PrerequisitesPage.ErrorCaption", {IDS_ERROR_CAPTION, "Error"}),

    Shared("Action.DontInstall", prereq_text::kDontInstall),
    Shared("Action.Install", prereq_text::kInstall),
    Shared("Action.Download", prereq_text::kDownload),
    Shared("Action.NotFound", prereq_text::kNotFound),
    Shared("Action.Installed", prereq_text::kInstalled),
    Shared("Action.Failed", prereq_text::kFailed),

    Shared("Status.Line", prereq_text::kStatusLine),
    Shared("Status.Any", prereq_text::kStatusAny),
    Shared("Status.AtMost", prereq_text::kStatusAtMost),
    Shared("Status.AtLeast", prereq_text::kStatusAtLeast),
    Shared("Status.Between", prereq_text::kStatusBetween),
    Shared("Status.Nothing", prereq_text::kStatusNothing),
    Shared("Status.NotRequired", prereq_text::kStatusNotRequired),
    Text("Status.ExitCode", ui_text::kExitCodeStatus),

    Control("DownloadDialog.Caption", IDD_DOWNLOAD, 0, "Downloading...", TextWindow::Download),
    Control("DownloadDialog.CurrentLabel", IDD_DOWNLOAD, IDC_CURRENT_LABEL,
            "Current progress:", TextWindow::Download),
    Control("DownloadDialog.GlobalLabel", IDD_DOWNLOAD, IDC_GLOBAL_LABEL,
            "Global progress:", TextWindow::Download),
    Control("DownloadDialog.Speed", IDD_DOWNLOAD, IDC_SPEED, "0 KB/s", TextWindow::Download),
    Text("DownloadDialog.Pause", ui_text::kPause, TextWindow::Download),
    Text("DownloadDialog.Resume", ui_text::kResume, TextWindow::Download),
    Control("DownloadDialog.Cancel", IDD_DOWNLOAD, kCancelButton, "Cancel", TextWindow::Download),
    Text("DownloadDialog.UrlColumn", ui_text::kUrlColumn),
    Text("DownloadDialog.StatusColumn", ui_text::kDownloadStatusColumn),
    Text("DownloadDialog.SpeedForm", ui_text::kSpeed),
    Text("DownloadDialog.Percent", ui_text::kPercent),
    Text("DownloadDialog.Kilobytes", ui_text::kKilobytes),
    Text("DownloadDialog.WrongSize", ui_text::kWrongSize),
    Text("Download.Failed",
         {IDS_DOWNLOAD_FAILED,
          "The download failed. Verify you are conected to the INTERNET and try again."}),
    Text("Download.NotStarted", {IDS_DOWNLOAD_NOT_STARTED, "Download failed to start."}),
    Text("Download.Error", {IDS_DOWNLOAD_ERROR, "An error ocured while downloading the file."}),
    Text("Download.Aborted", {IDS_DOWNLOAD_ABORTED, "Download aborted."}),
    Text("Download.SaveFailed", {IDS_SAVE_ERROR, "An error ocurred while saving the file."}),
    Text("Download.Retrying", {IDS_RETRYING, "Trying again..."}),
    Text("Download.ProblemConnection", {IDS_PROBLEM_CONNECTION, "The server cannot be reached."}),
    Text("Download.ProblemHttp", {IDS_PROBLEM_HTTP, "The server refused the file."}),
    Text("Download.ProblemUntrusted",
         {IDS_PROBLEM_UNTRUSTED, "The server's certificate is not trusted."}),
    Text("Download.ProblemWrongHost",
         {IDS_PROBLEM_WRONG_HOST, "The server's certificate names another host."}),
    Text("Download.ProblemExpired", {IDS_PROBLEM_EXPIRED, "The server's certificate has expired."}),
    Text("Download.ProblemInsecureRedirect",
         {IDS_PROBLEM_INSECURE_REDIRECT, "Refused: a redirect from https to http."}),
    Text("Download.ProblemProxy",
         {IDS_PROBLEM_PROXY, "The proxy server wants a user name and password."}),
    Text("Download.ProblemAddress", {IDS_PROBLEM_ADDRESS, "Not an http or https address."}),
    Text("Setup.SourceFolder", {IDS_SOURCE_FOLDER, "The source folder cannot be found."}),
    Text("Setup.LayoutFolder",
         {IDS_LAYOUT_FOLDER, "The offline copy cannot be made in this folder."}),

    Control("LaunchDialog.Caption", IDD_LAUNCH, 0, "Launching PreRequisites", TextWindow::Launch),
    Control("LaunchDialog.Label", IDD_LAUNCH, IDC_LAUNCH_LABEL, "Installing:", TextWindow::Launch),
};

} // namespace

const CatalogueText *CatalogueTexts() { return kTexts; }

size_t CatalogueSize() { return sizeof kTexts / sizeof kTexts[0]; }

const CatalogueText *FindCatalogueText(const std::string &name) {
  for (const CatalogueText &text : kTexts) {
    if (name == text.name) {
      return &text;
    }
  }
  return nullptr;
}
