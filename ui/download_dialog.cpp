#include "ui/download_dialog.h"

#include <commctrl.h>

#include "base/anchor_layout.h"
#include "base/file.h"
#include "base/text_builder.h"
#include "base/win/accessible_name.h"
#include "base/win/centre_on_owner.h"
#include "base/win/dialog.h"
#include "base/win/module_state.h"
#include "base/win/screen_scale.h"
#include "download/download_batch.h"
#include "download/download_codes.h"
#include "resources/download_dialog_ids.h"
#include "resources/resource.h"
#include "ui/download_dialog_text.h"
#include "ui/download_failure_message.h"
#include "ui/list_view_rows.h"
#include "ui/ui_text.h"
#include "ui/window_notifier.h"

namespace {

constexpr int kStatusColumnWidth = 50;
const ListColumn kColumns[] = {{ui_text::kUrlColumn, 100},
                               {ui_text::kDownloadStatusColumn, kStatusColumnWidth}};
constexpr int kSizeGripId = 0xFFF0;

// How each control follows the dialog's size; the size grip rides the bottom-right corner.
const Anchor kAnchors[] = {
    {IDC_DOWNLOAD_LIST, kAnchorGrowX | kAnchorGrowY},
    {IDC_CURRENT_PROGRESS, kAnchorGrowX | kAnchorMoveY},
    {IDC_GLOBAL_PROGRESS, kAnchorGrowX | kAnchorMoveY},
    {IDC_PAUSE, kAnchorMoveY},
    {IDCANCEL, kAnchorMoveX | kAnchorMoveY},
    {IDC_CURRENT_LABEL, kAnchorMoveY},
    {IDC_GLOBAL_LABEL, kAnchorMoveY},
    {IDC_SPEED, kAnchorMoveY},
    {kSizeGripId, kAnchorMoveX | kAnchorMoveY},
};

class DownloadDialog : public win::Dialog<DownloadDialog> {
public:
  static constexpr int kTemplateId = IDD_DOWNLOAD;
  static const MessageEntry kMessageMap[14];

  explicit DownloadDialog(DownloadBatch &batch) : batch_(batch) {}
  DownloadRunResult result() const { return result_; }
  bool opened() const { return opened_; }

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM);
  INT_PTR OnCommand(WPARAM, LPARAM);
  INT_PTR OnSize(WPARAM, LPARAM);
  INT_PTR OnGetMinMaxInfo(WPARAM, LPARAM);
  INT_PTR OnFileStarted(WPARAM, LPARAM);
  INT_PTR OnProgress(WPARAM, LPARAM);
  INT_PTR OnFileDone(WPARAM, LPARAM);
  INT_PTR OnStartFailed(WPARAM, LPARAM);
  INT_PTR OnSaveFailed(WPARAM, LPARAM);
  INT_PTR OnReadFailed(WPARAM, LPARAM);
  INT_PTR OnAborted(WPARAM, LPARAM);
  INT_PTR OnRetrying(WPARAM, LPARAM);
  INT_PTR OnWrongSize(WPARAM, LPARAM);
  INT_PTR OnAllDone(WPARAM, LPARAM);

  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }
  // The batch's item at index; null past its end (an index comes from the worker's messages).
  DownloadItem *ItemAt(size_t index);
  // The item's ExactSize; 0 past the end.
  uint32_t ItemSize(size_t index);
  void SetStatus(size_t index, DownloadItemStatus status);
  // Fills the list and totalSize_.
  void InitList(HWND list);
  void InitResizing();
  // Sets the bar's range from range and its position to the start.
  void ResetBar(int id, ProgressScale *scale, uint64_t range);
  void SetBarPosition(int id, int position);
  void EndWaitingForWorker(DownloadRunResult result);
  void NameControls();

  DownloadBatch &batch_;
  size_t currentIndex_ = 0;
  // 64-bit so that neither count nor the batch's sum can overflow.
  uint64_t currentBytes_ = 0;
  uint64_t totalBytes_ = 0;
  bool paused_ = false;
  DownloadRunResult result_ = DownloadRunResult::AllAttempted;
  bool opened_ = false;

  WindowNotifier notifier_;
  uint64_t totalSize_ = 0;
  ProgressScale currentScale_;
  ProgressScale totalScale_;
  SIZE minWindow_ = {0, 0};
  SIZE initialClient_ = {0, 0};
  // Filled, and resizing on, once the dialog is initialised.
  RECT initialRects_[sizeof kAnchors / sizeof kAnchors[0]];
  bool resizable_ = false;
  // The two bars and the speed label, which have no name of their own.
  win::NamedControl names_[3];
};

const DownloadDialog::MessageEntry DownloadDialog::kMessageMap[14] = {
    {WM_INITDIALOG, &DownloadDialog::OnInitDialog},
    {WM_COMMAND, &DownloadDialog::OnCommand},
    {WM_SIZE, &DownloadDialog::OnSize},
    {WM_GETMINMAXINFO, &DownloadDialog::OnGetMinMaxInfo},
    {DLM_FILE_STARTED, &DownloadDialog::OnFileStarted},
    {DLM_PROGRESS, &DownloadDialog::OnProgress},
    {DLM_FILE_DONE, &DownloadDialog::OnFileDone},
    {DLM_START_FAILED, &DownloadDialog::OnStartFailed},
    {DLM_SAVE_FAILED, &DownloadDialog::OnSaveFailed},
    {DLM_READ_FAILED, &DownloadDialog::OnReadFailed},
    {DLM_ABORTED, &DownloadDialog::OnAborted},
    {DLM_RETRYING, &DownloadDialog::OnRetrying},
    {DLM_WRONG_SIZE, &DownloadDialog::OnWrongSize},
    {DLM_ALL_DONE, &DownloadDialog::OnAllDone},
};

INT_PTR DownloadDialog::OnInitDialog(WPARAM, LPARAM) {
  opened_ = true;
  TranslateWindow(hwnd(), IDD_DOWNLOAD);
  HWND list = Item(IDC_DOWNLOAD_LIST);
  InitList(list);
  ResetBar(IDC_GLOBAL_PROGRESS, &totalScale_, totalSize_);
  CentreOnOwner(hwnd());
  InitResizing();

  // The two columns fill the list; they do not follow later resizing.
  RECT client;
  ::GetClientRect(list, &client);
  ::SendMessageW(list, LVM_SETCOLUMNWIDTH, 0,
                 MAKELPARAM(client.right - ScaleToScreen(list, kStatusColumnWidth), 0));

  NameControls();

  notifier_.setWindow(hwnd());
  if (!batch_.StartWorker(&notifier_)) {
    // No worker means no message would ever close the dialog.
    result_ = DownloadRunResult::NotStarted;
    ::EndDialog(hwnd(), IDCANCEL);
  }
  return TRUE; // the focus on the list of what is downloaded, where Enter changes nothing
}

void DownloadDialog::NameControls() {
  // The speed is the current file's, on its label's line: "Current progress: 12.05 KB/s".
  names_[0].Install(Item(IDC_CURRENT_PROGRESS), Item(IDC_CURRENT_LABEL));
  names_[1].Install(Item(IDC_GLOBAL_PROGRESS), Item(IDC_GLOBAL_LABEL));
  names_[2].Install(Item(IDC_SPEED), Item(IDC_CURRENT_LABEL), true);
}

void DownloadDialog::InitList(HWND list) {
  InitListView(list, kColumns, 2);

  // The rows, and the sum of the sizes for the global bar.
  totalSize_ = 0;
  size_t row = 0;
  const std::string none = DownloadStatusText(0, 1, UiText(ui_text::kPercent));
  for (const DownloadItem &item : batch_.items()) {
    // The configuration's text is ANSI.
    InsertListRow(list, row, sys::PathFromAnsi(item.url));
    SetListCell(list, row, 1, none);
    totalSize_ += item.size;
    ++row;
  }
}

void DownloadDialog::ResetBar(int id, ProgressScale *scale, uint64_t range) {
  *scale = ScaleFor(range);
  HWND bar = Item(id);
  ::SendMessageW(bar, PBM_SETRANGE32, 0, scale->Range(range));
  ::SendMessageW(bar, PBM_SETPOS, 0, 0);
}

void DownloadDialog::SetBarPosition(int id, int position) {
  ::SendMessageW(Item(id), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void DownloadDialog::InitResizing() {
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  minWindow_ = {window.right - window.left, window.bottom - window.top};
  RECT client;
  ::GetClientRect(hwnd(), &client);
  initialClient_ = {client.right, client.bottom};

  ::SetWindowLongW(hwnd(), GWL_STYLE, ::GetWindowLongW(hwnd(), GWL_STYLE) | WS_CLIPCHILDREN);
  // With the bottom-right alignment style the grip takes its standard size in that corner of
  // the rectangle given.
  ::CreateWindowExW(0, L"SCROLLBAR", nullptr,
                    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOX |
                        SBS_SIZEBOXBOTTOMRIGHTALIGN,
                    0, 0, client.right, client.bottom, hwnd(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSizeGripId)),
                    ::GetModuleHandleA(nullptr), nullptr);

  size_t i = 0;
  for (const Anchor &anchor : kAnchors) {
    RECT &r = initialRects_[i++];
    r = {0, 0, 0, 0};
    HWND control = Item(anchor.id);
    if (control != nullptr) {
      ::GetWindowRect(control, &r);
      ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT *>(&r), 2);
    }
  }
  resizable_ = true;
}

INT_PTR DownloadDialog::OnSize(WPARAM type, LPARAM lParam) {
  if (!resizable_ || type == SIZE_MINIMIZED) {
    return FALSE;
  }
  int dx = LOWORD(lParam) - initialClient_.cx;
  int dy = HIWORD(lParam) - initialClient_.cy;
  ::SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  for (size_t i = 0; i < sizeof kAnchors / sizeof kAnchors[0]; ++i) {
    HWND control = Item(kAnchors[i].id);
    if (control == nullptr) {
      continue;
    }
    const RECT &initial = initialRects_[i];
    AnchorRect r = AnchoredRect({initial.left, initial.top, initial.right, initial.bottom},
                                kAnchors[i].flags, dx, dy);
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  return TRUE;
}

INT_PTR DownloadDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
  if (minWindow_.cx == 0) {
    return FALSE;
  }
  MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
  info->ptMinTrackSize.x = minWindow_.cx;
  info->ptMinTrackSize.y = minWindow_.cy;
  return TRUE;
}

INT_PTR DownloadDialog::OnCommand(WPARAM wParam, LPARAM) {
  switch (LOWORD(wParam)) {
  case IDC_PAUSE:
    // The button says what a click will do.
    if (paused_) {
      batch_.resume();
    } else {
      batch_.pause();
    }
    SetUiItemText(hwnd(), IDC_PAUSE, UiText(paused_ ? ui_text::kPause : ui_text::kResume));
    paused_ = !paused_;
    return TRUE;
  case IDCANCEL:
    // The Cancel button, Esc and the close box. The dialog closes when the worker answers.
    batch_.cancel();
    return TRUE;
  default:
    return FALSE; // not ours
  }
}

DownloadItem *DownloadDialog::ItemAt(size_t index) {
  base::ObjectVector<DownloadItem> &items = batch_.items();
  return index < items.size() ? &items[index] : nullptr;
}

uint32_t DownloadDialog::ItemSize(size_t index) {
  const DownloadItem *item = ItemAt(index);
  return item != nullptr ? item->size : 0;
}

void DownloadDialog::SetStatus(size_t index, DownloadItemStatus status) {
  if (DownloadItem *item = ItemAt(index)) {
    item->status = status;
  }
}

INT_PTR DownloadDialog::OnFileStarted(WPARAM index, LPARAM) {
  currentIndex_ = index;
  currentBytes_ = 0;
  const uint32_t size = ItemSize(index);
  ResetBar(IDC_CURRENT_PROGRESS, &currentScale_, size);
  return TRUE;
}

INT_PTR DownloadDialog::OnProgress(WPARAM bytes, LPARAM speed) {
  currentBytes_ += bytes;
  totalBytes_ += bytes;
  const uint32_t size = ItemSize(currentIndex_);
  SetBarPosition(IDC_CURRENT_PROGRESS, currentScale_.Position(currentBytes_, size));
  SetBarPosition(IDC_GLOBAL_PROGRESS, totalScale_.Position(totalBytes_, totalSize_));
  SetUiItemText(hwnd(), IDC_SPEED,
                DownloadSpeedText(static_cast<uint32_t>(speed), UiText(ui_text::kSpeed)));
  SetListCell(Item(IDC_DOWNLOAD_LIST), currentIndex_, 1,
              DownloadStatusText(currentBytes_, size, UiText(ui_text::kPercent),
                                 UiText(ui_text::kKilobytes)));
  return TRUE;
}

INT_PTR DownloadDialog::OnFileDone(WPARAM index, LPARAM) {
  SetStatus(index, DownloadItemStatus::Ok);
  return TRUE;
}

void DownloadDialog::EndWaitingForWorker(DownloadRunResult result) {
  result_ = result;
  batch_.WaitWorker();
  ::EndDialog(hwnd(), IDCANCEL);
}

INT_PTR DownloadDialog::OnStartFailed(WPARAM, LPARAM) {
  EndWaitingForWorker(DownloadRunResult::NotStarted);
  return TRUE;
}

INT_PTR DownloadDialog::OnSaveFailed(WPARAM, LPARAM) {
  SetStatus(currentIndex_, DownloadItemStatus::SaveFailed);
  return TRUE;
}

INT_PTR DownloadDialog::OnReadFailed(WPARAM index, LPARAM) {
  // Why, in words, and the address: the batch goes on while the box is open.
  if (const DownloadItem *item = ItemAt(index)) {
    ShowUiMessage(hwnd(),
                  text::Builder()
                      .Add({UiString(DownloadProblemStringId(item->problem)), "\n\n",
                            sys::PathFromAnsi(item->url)})
                      .Take(),
                  nullptr, MB_ICONERROR | MB_OK);
  }
  return TRUE;
}

INT_PTR DownloadDialog::OnRetrying(WPARAM seconds, LPARAM) {
  // The next try reports the file's bytes anew.
  totalBytes_ -= currentBytes_;
  currentBytes_ = 0;
  if (seconds != 0) {
    SetUiItemText(hwnd(), IDC_SPEED, UiString(IDS_RETRYING));
  }
  return TRUE;
}

INT_PTR DownloadDialog::OnAborted(WPARAM, LPARAM) {
  EndWaitingForWorker(DownloadRunResult::Aborted);
  return TRUE;
}

INT_PTR DownloadDialog::OnWrongSize(WPARAM, LPARAM) {
  // Marked before the box: the batch goes on while it is open.
  SetStatus(currentIndex_, DownloadItemStatus::Failed);
  ShowUiMessage(hwnd(), UiText(ui_text::kWrongSize), nullptr, MB_ICONERROR | MB_OK);
  return TRUE;
}

INT_PTR DownloadDialog::OnAllDone(WPARAM, LPARAM) {
  ::EndDialog(hwnd(), 0);
  return TRUE;
}

} // namespace

DownloadRunResult RunDownloadDialog(DownloadBatch &batch, HWND owner) {
  DownloadDialog dialog(batch);
  INT_PTR shown = dialog.RunModal(owner);
  // After the last message the worker only closes its internet handle.
  batch.WaitWorker();
  // A dialog that never opened (-1, or 0 for a bad owner) started no worker.
  if (shown == -1 || !dialog.opened()) {
    return DownloadRunResult::NotStarted;
  }
  return dialog.result();
}
