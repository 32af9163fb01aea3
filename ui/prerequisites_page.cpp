#include "ui/prerequisites_page.h"

#include <commctrl.h>

#include "archive/sfx_archive.h"
#include "base/file.h"
#include "base/text_builder.h"
#include "base/win/accessible_name.h"
#include "base/win/folder_browser.h"
#include "base/win/module_state.h"
#include "base/win/screen_scale.h"
#include "base/win/wide_text.h"
#include "plan/prereq_plan.h"
#include "resources/resource.h"
#include "ui/list_view_rows.h"
#include "ui/ui_text.h"
#include "ui/wizard_buttons.h"

namespace {

constexpr int kActionColumn = 2;
// The Status column's width is only a start: the three fill the client area.
const ListColumn kColumns[] = {
    {ui_text::kNameColumn, 100}, {ui_text::kStatusColumn, 400}, {ui_text::kActionColumn, 80}};
constexpr int kComboDropHeight = 200;
// Every text the Action column shows, and the room a cell leaves around its text.
const PrereqAction kShownActions[] = {PrereqAction::DontInstall, PrereqAction::Install,
                                      PrereqAction::Download,    PrereqAction::DownloadFailed,
                                      PrereqAction::Installed,   PrereqAction::Failed};
constexpr int kCellPadding = 14;

const char *ActionUiText(PrereqAction action) {
  const PrereqText text = PrerequisiteList::ActionTextOf(action);
  return UiText(text.key, text.english);
}

} // namespace

const PrerequisitesPage::MessageEntry PrerequisitesPage::kMessageMap[3] = {
    {WM_INITDIALOG, &PrerequisitesPage::OnInitDialog},
    {WM_NOTIFY, &PrerequisitesPage::OnNotify},
    {WM_COMMAND, &PrerequisitesPage::OnCommand},
};

PrerequisitesPage::PrerequisitesPage(PrereqPlan &plan, WizardState &state)
    : state_(state), plan_(plan), model_(plan) {
  state_.mandatoryPending = model_.mandatoryPending();
}

void PrerequisitesPage::ShowFolder() { SetUiItemText(hwnd(), IDC_DOWNLOAD_FOLDER, plan_.folder()); }

INT_PTR PrerequisitesPage::OnInitDialog(WPARAM, LPARAM) {
  TranslateWindow(hwnd(), IDD_PREREQUISITES_PAGE);
  ShowFolder();
  InitList();
  RefreshActions(true);
  return FALSE;
}

void PrerequisitesPage::InitList() {
  HWND list = Item(IDC_PREREQ_LIST);
  InitListView(list, kColumns, 3);
  // The Action column holds the longest Action text of the user's language (the English ones
  // fit its width); the three columns fill the client area.
  int action = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 2, 0));
  for (const PrereqAction shown : kShownActions) {
    const int width = static_cast<int>(::SendMessageW(
                          list, LVM_GETSTRINGWIDTHW, 0,
                          reinterpret_cast<LPARAM>(win::WideText(ActionUiText(shown)).get()))) +
                      ScaleToScreen(list, kCellPadding);
    action = width > action ? width : action;
  }
  ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(action, 0));
  RECT client;
  ::GetClientRect(list, &client);
  const int name = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(client.right - name - action, 0));

  // The names are written once; the statuses follow at once and after the install pass.
  rowCount_ = static_cast<int>(plan_.count());
  for (size_t i = 0; i < plan_.count(); ++i) {
    // The configuration's text is ANSI.
    InsertListRow(list, i, sys::PathFromAnsi(plan_.list().prerequisite(i).name));
  }
  // The keyboard starts on the first row, where F4 opens its action list.
  LVITEMW first = {};
  first.stateMask = first.state = LVIS_FOCUSED | LVIS_SELECTED;
  ::SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
  listHandler_.Install(list, &PrerequisitesPage::OnListMessage, this);
}

std::string PrerequisitesPage::StatusText(size_t row) const {
  const TextTranslator translate = &UiText;
  std::string status = plan_.list().StatusText(row, translate);
  if (plan_.action(row) != PrereqAction::Failed) {
    return status;
  }
  char digits[20];
  return text::Builder()
      .AddForm(UiText(ui_text::kExitCodeStatus),
               {{"code", text::DecimalDigits(plan_.exitCode(row), digits)}, {"status", status}})
      .Take();
}

void PrerequisitesPage::ShowRows(bool statuses) {
  HWND list = Item(IDC_PREREQ_LIST);
  for (size_t i = 0; i < static_cast<size_t>(rowCount_); ++i) {
    if (statuses) {
      SetListCell(list, i, 1, StatusText(i));
    }
    SetListCell(list, i, kActionColumn, ActionUiText(plan_.action(i)));
  }
}

void PrerequisitesPage::RefreshActions(bool statuses) {
  model_.Recount();
  ShowRows(statuses);
  UpdateHint();
  EnableBrowse(model_.downloadCount() > 0);
}

void PrerequisitesPage::EnableBrowse(bool enable) {
  ::EnableWindow(Item(IDC_BROWSE), enable ? TRUE : FALSE);
}

void PrerequisitesPage::UpdateHint() {
  SetUiItemText(hwnd(), IDC_HINT, UiText(PrereqPageModel::HintText(model_.state())));
  const WizardButtons buttons = model_.Buttons();
  EnableWizardButton(hwnd(), kWizardNext, buttons.next);
  EnableWizardButton(hwnd(), kWizardFinish, buttons.finish);
}

void PrerequisitesPage::OpenActionCombo(int row, int column, bool dropDown) {
  // The list holds one row per prerequisite, so the model's bound is the list's; a click off
  // the rows (-1) is past it too. A mandatory row opens nothing: no override.
  if (column != kActionColumn || !model_.OpensCombo(static_cast<size_t>(row))) {
    return;
  }
  // Only an open combo's choice is ever applied to the row.
  selectedRow_ = row;
  HWND list = Item(IDC_PREREQ_LIST);
  RECT cell = {};
  cell.top = kActionColumn;
  cell.left = LVIR_BOUNDS;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&cell));
  cell.bottom += ScaleToScreen(list, kComboDropHeight);
  combo_ =
      ::CreateWindowExW(0, L"COMBOBOX", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL,
                        cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, list,
                        nullptr, win::ModuleInstance(), nullptr);
  if (combo_ == nullptr) {
    return;
  }
  ::SendMessageW(combo_, WM_SETFONT, ::SendMessageW(hwnd(), WM_GETFONT, 0, 0), TRUE);
  const PrereqText items[] = {prereq_text::kDontInstall,
                              model_.SecondItemText(static_cast<size_t>(row))};
  for (const PrereqText &item : items) {
    ::SendMessageW(combo_, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(win::WideText(UiText(item.key, item.english)).get()));
  }
  ::SendMessageW(combo_, CB_SETCURSEL,
                 static_cast<WPARAM>(model_.PreselectedItem(static_cast<size_t>(row))), 0);
  // The handler first: a screen reader asks for the combo's name as soon as it has the focus.
  comboHandler_.Install(combo_, &PrerequisitesPage::OnComboMessage, this);
  ::SetFocus(combo_);
  if (dropDown) {
    ::SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  }
}

void PrerequisitesPage::CloseActionCombo(bool apply) {
  HWND combo = combo_;
  if (combo == nullptr) {
    return;
  }
  // Cleared first: the focus leaving the combo below must not close it a second time.
  combo_ = nullptr;
  const int item = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  ::SetFocus(Item(IDC_PREREQ_LIST));
  ::DestroyWindow(combo);
  if (apply && selectedRow_ >= 0) {
    model_.ApplyActionChoice(static_cast<size_t>(selectedRow_), item);
    RefreshActions();
  }
}

bool PrerequisitesPage::OnComboMessage(void *context, HWND combo, UINT message, WPARAM wParam,
                                       LPARAM lParam, LRESULT *result) {
  auto *self = static_cast<PrerequisitesPage *>(context);
  if (self->combo_ == nullptr) {
    return false;
  }
  const bool enterOrEsc = wParam == VK_RETURN || wParam == VK_ESCAPE;
  switch (message) {
  case WM_GETDLGCODE: {
    // Enter and Esc belong to the combo, open list or not: the sheet would otherwise take
    // them for Next and Cancel before the choice is made.
    const auto *key = reinterpret_cast<const MSG *>(lParam);
    if (key == nullptr || key->message != WM_KEYDOWN ||
        (key->wParam != VK_RETURN && key->wParam != VK_ESCAPE)) {
      return false;
    }
    *result = DLGC_WANTALLKEYS;
    return true;
  }
  case WM_KEYDOWN:
    if (!enterOrEsc) {
      return false;
    }
    self->CloseActionCombo(wParam == VK_RETURN);
    break;
  case WM_CHAR:
    if (!enterOrEsc) {
      return false;
    }
    break; // the key was handled at WM_KEYDOWN
  case WM_KILLFOCUS:
    // The choice is applied whenever the combo loses the focus, wherever the focus goes.
    self->CloseActionCombo(true);
    break;
  case WM_GETOBJECT: {
    // Named after its row, which nothing else on the screen says.
    const Prerequisite &row =
        self->plan_.list().prerequisite(static_cast<size_t>(self->selectedRow_));
    *result = win::AnswerNamedObject(
        combo, wParam, lParam,
        text::Builder()
            .AddForm(UiText(ui_text::kActionFor), {{"name", sys::PathFromAnsi(row.name)}})
            .Take());
    return *result != 0;
  }
  default:
    return false;
  }
  *result = 0;
  return true;
}

bool PrerequisitesPage::OnListMessage(void *context, HWND list, UINT message, WPARAM wParam, LPARAM,
                                      LRESULT *result) {
  auto *self = static_cast<PrerequisitesPage *>(context);
  // F4, Alt+Down and Space open the focused row's action list, as they open a combo box; the
  // rules are the click's.
  const bool opens = (message == WM_KEYDOWN && (wParam == VK_F4 || wParam == VK_SPACE)) ||
                     (message == WM_SYSKEYDOWN && wParam == VK_DOWN);
  if (!opens) {
    return false;
  }
  self->OpenActionCombo(static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM,
                                                        static_cast<WPARAM>(-1), LVNI_FOCUSED)),
                        kActionColumn, true);
  *result = 0;
  return true;
}

void PrerequisitesPage::Browse() {
  std::string path;
  if (!BrowseForDownloadFolder(hwnd(), UiString(IDS_SELECT_DOWNLOAD_FOLDER), &path)) {
    return;
  }
  // The folder is not checked: one that cannot be written fails its downloads, which the
  // download pass reports.
  plan_.setDownloadFolder(path);
  ShowFolder();
  RefreshActions();
}

void PrerequisitesPage::ShowFailure(unsigned stringId) {
  ShowUiMessage(hwnd(), UiString(stringId), win::WideText(UiString(IDS_ERROR_CAPTION)).get(),
                MB_ICONERROR | MB_OK);
}

void PrerequisitesPage::DownloadPass() {
  const DownloadRunResult result = plan_.downloadAll(passWindows_);
  if (!plan_.batch().items().empty()) {
    const unsigned message = model_.AfterDownloadPass(result);
    if (result == DownloadRunResult::AllAttempted) {
      EnableBrowse(false);
      model_.setState(PageState::InstallsPending);
      UpdateHint();
    }
    if (message != 0) {
      ShowFailure(message);
    }
  }
  RefreshActions();
}

void PrerequisitesPage::InstallPass() {
  plan_.installAll(passWindows_);
  const bool allDone = model_.AfterInstallPass();
  ShowRows(true);
  if (plan_.HasResult(PrereqResult::RestartFirst) ||
      plan_.HasResult(PrereqResult::RestartStarted)) {
    AskForRestart();
  } else if (allDone) {
    EnableBrowse(false);
    UpdateHint();
  } else {
    // Rows whose setup could not start or failed stay scheduled: Next runs them again. Only a
    // mandatory one keeps Finish disabled; skipping an optional one is the user's choice.
    RefreshActions();
  }
}

void PrerequisitesPage::AskForRestart() {
  // The same question after 1641: the restart that setup started may still be refused.
  const int answer = ShowUiMessage(hwnd(), UiText(ui_text::kRestartQuestion), state_.title.get(),
                                   MB_YESNO | MB_ICONQUESTION);
  state_.restartNow = answer == IDYES;
  // The sheet closes as if cancelled; the run reads the plan's results.
  ::PostMessageW(sheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

INT_PTR PrerequisitesPage::OnCommand(WPARAM wParam, LPARAM) {
  if (LOWORD(wParam) == IDC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
    Browse();
    return TRUE;
  }
  return FALSE;
}

INT_PTR PrerequisitesPage::OnNotify(WPARAM, LPARAM lParam) {
  const auto *header = reinterpret_cast<const NMHDR *>(lParam);
  if (header->hwndFrom == Item(IDC_PREREQ_LIST)) {
    if (header->code == NM_CLICK) {
      const auto *click = reinterpret_cast<const NMITEMACTIVATE *>(lParam);
      OpenActionCombo(click->iItem, click->iSubItem);
    }
    return FALSE; // the list view's default handling goes on
  }
  HWND frame = sheet();
  if (header->hwndFrom != hwnd() && header->hwndFrom != frame) {
    return FALSE;
  }
  // A page button pressed from the keyboard leaves the focus in an open combo: its choice is
  // made first, or dropped with Cancel.
  if (header->code == PSN_WIZNEXT || header->code == PSN_WIZBACK || header->code == PSN_WIZFINISH) {
    CloseActionCombo(true);
  } else if (header->code == PSN_QUERYCANCEL || header->code == PSN_RESET) {
    CloseActionCombo(false);
  }
  switch (header->code) {
  case PSN_SETACTIVE:
    UpdateHint();
    ::PostMessageW(frame, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(state_.title.get()));
    ::SetWindowTextW(frame, state_.title.get());
    return NotifyResult(0); // 0: the page may be shown
  case PSN_WIZNEXT:
    if (model_.state() == PageState::DownloadsPending) {
      DownloadPass();
    } else if (model_.state() == PageState::InstallsPending) {
      InstallPass();
    }
    return NotifyResult(0); // 0: the last page, so the sheet stays on it
  default:
    // 0 for Finish, Cancel and the notifications that need nothing; FALSE: not this page's.
    return AnswerCommonNotification(state_, header->code) ? NotifyResult(0) : FALSE;
  }
}
