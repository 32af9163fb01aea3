// Drives the "Downloading..." dialog of another process as a user would, and prints what it
// sees ("OK ..." / "BAD ..." lines, "SHOT <name> <x> <y> <width> <height> <rrggbb>" when the
// calling script should take a screenshot of the window at that screen rectangle, drawn mostly
// in that face colour; it then waits for <ackdir>\<name> to appear).
//   download_driver control <ackdir>    pause, resume, resize, pause again, cancel
//   download_driver wrongsize <ackdir>  read and close the wrong-size box
//   download_driver cancel <ackdir>     once the bar has moved, Cancel; prints "CANCEL_MS <ms>"
//                                       from the click to the dialog hidden (at most 90 s) and
//                                       "GONE_MS <ms>" to its window destroyed
//   download_driver network <ackdir> <user> <password>
//                                       answers the system's proxy credentials dialog, sees the
//                                       dialog say it tries again, reads and closes the box of a
//                                       file that failed ("BOX_TEXT <text>")
// Exit code 0 when every check held, 1 otherwise.
#include <windows.h>

#include <objbase.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "resources/download_dialog_ids.h"
#include "tests/programs/accessible_text.h"
#include "tests/programs/window_text.h"

namespace {

int g_bad = 0;
std::string g_ackDir;

void Check(bool ok, const char *what) {
  std::printf("%s %s\n", ok ? "OK" : "BAD", what);
  std::fflush(stdout);
  if (!ok) {
    ++g_bad;
  }
}

void Shot(const char *name, HWND window) {
  RECT r = {0, 0, 0, 0};
  ::GetWindowRect(window, &r);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  std::printf("SHOT %s %ld %ld %ld %ld %02x%02x%02x\n", name, r.left, r.top, r.right - r.left,
              r.bottom - r.top, GetRValue(face), GetGValue(face), GetBValue(face));
  std::fflush(stdout);
  std::string ack = g_ackDir + "\\" + name;
  for (int i = 0; i < 200 && ::GetFileAttributesA(ack.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    ::Sleep(50);
  }
}

HWND WaitForDialog() {
  for (int i = 0; i < 400; ++i) {
    HWND dialog = ::FindWindowA("#32770", "Downloading...");
    if (dialog != nullptr && ::IsWindowVisible(dialog)) {
      return dialog;
    }
    ::Sleep(50);
  }
  return nullptr;
}

int Pos(HWND dialog, int id) {
  return static_cast<int>(::SendMessageA(::GetDlgItem(dialog, id), PBM_GETPOS, 0, 0));
}

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

RECT ClientRectOf(HWND dialog, int id) {
  RECT r = {0, 0, 0, 0};
  ::GetWindowRect(::GetDlgItem(dialog, id), &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&r), 2);
  return r;
}

// Waits until the current bar moves; false after the time-out.
bool WaitForProgress(HWND dialog, int from, DWORD ms) {
  DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    if (Pos(dialog, IDC_CURRENT_PROGRESS) > from) {
      return true;
    }

    ::Sleep(10);
  }
  return false;
}

// After a pause the worker finishes the read in progress; the bar's last move tells when it
// stopped. Returns the milliseconds from the click to that move.
DWORD MeasureHold(HWND dialog, DWORD clickedAt) {
  int last = Pos(dialog, IDC_CURRENT_PROGRESS);
  DWORD lastChange = clickedAt;
  DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 1500) {
    int now = Pos(dialog, IDC_CURRENT_PROGRESS);
    if (now != last) {
      last = now;
      lastChange = ::GetTickCount();
    }
    ::Sleep(1);
  }
  return lastChange - clickedAt;
}

void CheckAnchors(HWND dialog) {
  const int ids[] = {IDC_DOWNLOAD_LIST, IDC_CURRENT_PROGRESS, IDC_GLOBAL_PROGRESS, IDC_PAUSE,
                     IDCANCEL,          IDC_CURRENT_LABEL,    IDC_GLOBAL_LABEL,    IDC_SPEED};
  RECT before[8];
  for (int i = 0; i < 8; ++i) {
    before[i] = ClientRectOf(dialog, ids[i]);
  }
  HWND list = ::GetDlgItem(dialog, IDC_DOWNLOAD_LIST);
  int col0 = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
  int col1 = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
  RECT listClient;
  ::GetClientRect(list, &listClient);
  Check(col1 == 50 && col0 + col1 == listClient.right, "columns fill the list");

  RECT window, client;
  ::GetWindowRect(dialog, &window);
  ::GetClientRect(dialog, &client);
  const int dx = 240, dy = 160;
  ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + dx,
                 window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER);
  ::Sleep(300);
  RECT newClient;
  ::GetClientRect(dialog, &newClient);
  Check(newClient.right - client.right == dx && newClient.bottom - client.bottom == dy,
        "client grew by the window's growth");

  // Expected moves per control: list grows both ways; bars grow in x and move down; Pause and
  // the labels move down; Cancel moves right and down.
  struct Expect {
    int moveX, moveY, growX, growY;
  } expect[8] = {{0, 0, dx, dy}, {0, dy, dx, 0}, {0, dy, dx, 0}, {0, dy, 0, 0},
                 {dx, dy, 0, 0}, {0, dy, 0, 0},  {0, dy, 0, 0},  {0, dy, 0, 0}};
  for (int i = 0; i < 8; ++i) {
    RECT after = ClientRectOf(dialog, ids[i]);
    bool ok = after.left - before[i].left == expect[i].moveX &&
              after.top - before[i].top == expect[i].moveY &&
              (after.right - after.left) - (before[i].right - before[i].left) == expect[i].growX &&
              (after.bottom - after.top) - (before[i].bottom - before[i].top) == expect[i].growY;
    char what[96];
    std::snprintf(what, sizeof what, "control %d anchored (%ld,%ld)-(%ld,%ld)", ids[i], after.left,
                  after.top, after.right, after.bottom);
    Check(ok, what);
  }
  Check(WindowText(::GetDlgItem(dialog, IDCANCEL)) == "Cancel", "Cancel button text");
  Check(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0)) == col0,
        "column widths do not follow the resize");
  // The size grip sits in the new bottom-right corner.
  POINT corner = {newClient.right - 2, newClient.bottom - 2};
  HWND grip = ::ChildWindowFromPoint(dialog, corner);
  char cls[32] = {};
  ::GetClassNameA(grip, cls, sizeof cls);
  Check(_stricmp(cls, "ScrollBar") == 0, "size grip in the corner");
}

int Control(HWND dialog) {
  Check(WindowText(::GetDlgItem(dialog, IDC_PAUSE)) == "Pause", "Pause button says Pause");
  Check(WindowText(::GetDlgItem(dialog, IDC_CURRENT_LABEL)) == "Current progress:", "label 1012");
  Check(WindowText(::GetDlgItem(dialog, IDC_GLOBAL_LABEL)) == "Global progress:", "label 1013");
  Check(FocusOf(dialog) == ::GetDlgItem(dialog, IDC_DOWNLOAD_LIST),
        "the keyboard starts on the list");
  Shot("opened", dialog);
  Check(WaitForProgress(dialog, 0, 10000), "bars move");

  DWORD clicked = ::GetTickCount();
  Click(dialog, IDC_PAUSE);
  Check(WindowText(::GetDlgItem(dialog, IDC_PAUSE)) == "Resume", "button says Resume when paused");
  DWORD hold = MeasureHold(dialog, clicked);
  std::printf("HOLD_MS %lu\n", hold);
  int held = Pos(dialog, IDC_CURRENT_PROGRESS);
  int heldTotal = Pos(dialog, IDC_GLOBAL_PROGRESS);
  std::string speed = WindowText(::GetDlgItem(dialog, IDC_SPEED));
  Check(speed.size() > 5 && speed.compare(speed.size() - 5, 5, " KB/s") == 0 &&
            speed.find('.') != std::string::npos,
        ("speed label " + speed).c_str());
  // What a screen reader reads: the bars after their labels, the speed after the label of its
  // line; the keyboard starts on the list.
  Check(
      AccessibleName(::GetDlgItem(dialog, IDC_CURRENT_PROGRESS)) == "Current progress:" &&
          AccessibleName(::GetDlgItem(dialog, IDC_GLOBAL_PROGRESS)) == "Global progress:" &&
          AccessibleName(::GetDlgItem(dialog, IDC_SPEED)) == "Current progress: " + speed,
      ("accessible names, the speed's " + AccessibleName(::GetDlgItem(dialog, IDC_SPEED))).c_str());
  ::Sleep(1000);
  Check(Pos(dialog, IDC_CURRENT_PROGRESS) == held && Pos(dialog, IDC_GLOBAL_PROGRESS) == heldTotal,
        "pause holds both bars");
  Shot("paused", dialog);

  Click(dialog, IDC_PAUSE);
  Check(WindowText(::GetDlgItem(dialog, IDC_PAUSE)) == "Pause", "button says Pause again");
  Check(WaitForProgress(dialog, held, 10000), "resume continues");

  CheckAnchors(dialog);
  ::Sleep(1000);
  Shot("resized", dialog);

  Click(dialog, IDC_PAUSE);
  ::Sleep(300);
  Click(dialog, IDCANCEL);
  bool closed = false;
  for (int i = 0; i < 200 && !closed; ++i) {
    closed = !::IsWindow(dialog);
    ::Sleep(50);
  }
  Check(closed, "cancel while paused closes the dialog");
  return g_bad == 0 ? 0 : 1;
}

// Against a server that has stopped sending: the worker is blocked in a read when Cancel comes.
int CancelStalled(HWND dialog) {
  Check(WaitForProgress(dialog, 0, 10000), "bar moved before the stall");
  ::Sleep(500);
  DWORD clicked = ::GetTickCount();
  // Posted, as a click is: the dialog's own thread handles it.
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDCANCEL)));
  // EndDialog hides the dialog at once; without a window manager, Wine's X11 driver then waits
  // up to two seconds for the window's withdrawal before the loop returns and destroys it.
  while (::IsWindowVisible(dialog) && ::GetTickCount() - clicked < 90000) {
    ::Sleep(5);
  }
  std::printf("CANCEL_MS %lu\n", ::GetTickCount() - clicked);
  while (::IsWindow(dialog) && ::GetTickCount() - clicked < 90000) {
    ::Sleep(5);
  }
  std::printf("GONE_MS %lu\n", ::GetTickCount() - clicked);
  Check(!::IsWindow(dialog), "cancel against a stalled server closes the dialog");
  return g_bad == 0 ? 0 : 1;
}

struct BoxSearch {
  HWND owner;
  HWND box;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
  BoxSearch *search = reinterpret_cast<BoxSearch *>(lParam);
  char cls[32] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  if (hwnd != search->owner && std::strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hwnd) &&
      ::GetWindow(hwnd, GW_OWNER) == search->owner) {
    search->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A dialog the download dialog owns (a box, the system's credentials dialog); null after 20 s.
HWND OwnedDialog(HWND dialog) {
  BoxSearch search = {dialog, nullptr};
  for (int i = 0; i < 400 && search.box == nullptr; ++i) {
    ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    ::Sleep(50);
  }
  return search.box;
}

BOOL CALLBACK CollectEdits(HWND hwnd, LPARAM lParam) {
  char cls[16] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  HWND *edits = reinterpret_cast<HWND *>(lParam);
  if (_stricmp(cls, "Edit") == 0) {
    edits[edits[0] == nullptr ? 0 : 1] = hwnd;
  }
  return edits[1] == nullptr;
}

int Network(HWND dialog, const char *user, const char *password) {
  // The proxy's 407 comes first: its dialog takes the user's name and password.
  HWND credentials = OwnedDialog(dialog);
  Check(credentials != nullptr, "the system's credentials dialog shown");
  HWND edits[2] = {nullptr, nullptr};
  if (credentials != nullptr) {
    std::printf("CREDENTIALS_DIALOG %s\n", WindowText(credentials).c_str());
    ::EnumChildWindows(credentials, CollectEdits, reinterpret_cast<LPARAM>(edits));
  }
  Check(edits[1] != nullptr, "it asks for a name and a password");
  if (edits[1] == nullptr) {
    return 1;
  }
  ::SendMessageA(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user));
  ::SendMessageA(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password));
  ::SendMessageA(::GetDlgItem(credentials, IDOK), BM_CLICK, 0, 0);
  bool retrying = false;
  for (int i = 0; i < 400 && !retrying; ++i) {
    retrying = WindowText(::GetDlgItem(dialog, IDC_SPEED)) == "Trying again...";
    ::Sleep(25);
  }
  Check(retrying, "the dialog says it tries again");
  HWND box = OwnedDialog(dialog);
  Check(box != nullptr, "a failed file's box shown");
  if (box == nullptr) {
    return 1;
  }
  std::printf("BOX_TEXT %s\n", WindowText(::GetDlgItem(box, 0xFFFF)).c_str());
  Shot("certificate", box);
  ::SendMessageA(box, WM_COMMAND, IDOK, 0);
  return g_bad == 0 ? 0 : 1;
}

int WrongSize(HWND dialog) {
  BoxSearch search = {dialog, OwnedDialog(dialog)};
  Check(search.box != nullptr, "wrong-size box shown");
  if (search.box == nullptr) {
    return 1;
  }
  std::string text = WindowText(::GetDlgItem(search.box, 0xFFFF));
  std::printf("BOX_TEXT %s\nBOX_CAPTION %s\n", text.c_str(), WindowText(search.box).c_str());
  Check(text == "Wrong file size. The downloaded file cannot be found or is corrupt.",
        "wrong-size text");
  Shot("wrongsize", search.box);
  ::SendMessageA(search.box, WM_COMMAND, IDOK, 0);
  return g_bad == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: download_driver <control|wrongsize|cancel|network> <ackdir> "
                         "[<user> <password>]\n");
    return 2;
  }
  g_ackDir = argv[2];
  ::CoInitialize(nullptr);
  HWND dialog = WaitForDialog();
  Check(dialog != nullptr, "dialog found");
  if (dialog == nullptr) {
    return 1;
  }
  std::string mode = argv[1];
  if (mode == "cancel") {
    return CancelStalled(dialog);
  }
  if (mode == "network" && argc == 5) {
    return Network(dialog, argv[3], argv[4]);
  }
  return mode == "control" ? Control(dialog) : WrongSize(dialog);
}
