// Test driver for the wizard of a setup run by an end-to-end script: waits for the setup's
// property sheet, then carries out the steps given, as a user would, one after the other:
//   next, finish, cancel  press that button once it is enabled and the sheet takes input
//   installed             wait until the page asks for Finish (the install pass is over: Next
//                         disabled, Finish enabled), in any language
//   wait:<text>           wait until the sheet shows a text that starts with <text>
//   shot:<name>[:<window>] print "SHOT <name> <width>x<height>+<x>+<y>" (the client area of the
//                         sheet, or of the window named as layout: names it) and wait until the
//                         file <ackdir>\<name> exists
//   layout:<window>       wait for the window ("sheet": the wizard; "#<id>": the one with a
//                         control of that id, in any language; else its caption) and print
//                         "LAYOUT <window> <n> controls <width>x<height>" (its client area)
//                         and a "BAD ..." line for every control that is clipped, overlaps
//                         another or does not hold its text (layout_check.h), then
//                         "COLUMNS <window> <widths>" of its list view; a layout fault does not
//                         stop the steps
//   texts:<window>        wait for the window (as layout: names it) and print every text it
//                         shows, in UTF-8 (window_texts.h)
//   release               let a recording setup held with TESSARA_SETUP_HOLD go on
//   key:<keys>            print "KEY key<n> <keys>" for the script to type the keys (xdotool
//                         key <keys>), wait for <ackdir>\key<n>, then give the setup time for them
//   focus:<id>            wait until the control of that id has the keyboard focus in the setup
//   name:<text>           wait until the window that has the focus is named <text> for screen
//                         readers; prints "focus: <id> <name>" when either wait fails
// Prints "page: <title of the page's group box>" for every page it acts on.
//   wizard_steps <seconds> <ackdir> <step>...
// Exit code 0 when every step was carried out, 1 on time-out.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/programs/accessible_text.h"
#include "tests/programs/layout_check.h"
#include "tests/programs/window_text.h"
#include "tests/programs/window_texts.h"

namespace {

constexpr int kNext = 0x3024;
constexpr int kFinish = 0x3025;

DWORD g_deadline = 0;

bool TimedOut() { return static_cast<LONG>(::GetTickCount() - g_deadline) > 0; }

BOOL CALLBACK FindSheet(HWND hwnd, LPARAM lParam) {
  if (::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, kNext) != nullptr) {
    *reinterpret_cast<HWND *>(lParam) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Sheet() {
  HWND sheet = nullptr;
  ::EnumWindows(FindSheet, reinterpret_cast<LPARAM>(&sheet));
  return sheet;
}

struct TextSearch {
  const char *prefix;
  bool found;
};

BOOL CALLBACK FindText(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<TextSearch *>(lParam);
  if (::IsWindowVisible(hwnd) &&
      WindowText(hwnd).compare(0, std::strlen(search->prefix), search->prefix) == 0) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

bool ShowsText(HWND sheet, const char *prefix) {
  TextSearch search = {prefix, false};
  ::EnumChildWindows(sheet, FindText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK FindGroup(HWND hwnd, LPARAM lParam) {
  char className[32] = {};
  ::GetClassNameA(hwnd, className, sizeof className);
  const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
  if (::IsWindowVisible(hwnd) && std::strcmp(className, "Button") == 0 &&
      (style & 0x0F) == BS_GROUPBOX) {
    *reinterpret_cast<std::string *>(lParam) = WindowText(hwnd);
    return FALSE;
  }
  return TRUE;
}

void PrintPage(HWND sheet) {
  std::string group;
  ::EnumChildWindows(sheet, FindGroup, reinterpret_cast<LPARAM>(&group));
  std::printf("page: %s\n", group.c_str());
  std::fflush(stdout);
}

// The sheet, once it is there and takes input (no modal window of the setup over it).
HWND WaitForSheet() {
  for (;;) {
    HWND sheet = Sheet();
    if (sheet != nullptr && ::IsWindowEnabled(sheet)) {
      ::Sleep(300); // let the page finish initialising
      return sheet;
    }
    if (TimedOut()) {
      return nullptr;
    }
    ::Sleep(100);
  }
}

bool Press(int id) {
  HWND sheet = WaitForSheet();
  while (sheet != nullptr) {
    HWND button = ::GetDlgItem(sheet, id);
    if (button != nullptr && ::IsWindowVisible(button) && ::IsWindowEnabled(button)) {
      PrintPage(sheet);
      ::PostMessageA(button, BM_CLICK, 0, 0);
      ::Sleep(500);
      return true;
    }
    if (TimedOut()) {
      return false;
    }
    ::Sleep(100);
    sheet = WaitForSheet();
  }
  return false;
}

// The page asks for Finish: Next is off and Finish on, and no window of the setup is over the
// sheet.
bool WaitForFinishOnly() {
  for (;;) {
    HWND sheet = Sheet();
    if (sheet != nullptr && ::IsWindowEnabled(sheet) &&
        !::IsWindowEnabled(::GetDlgItem(sheet, kNext)) &&
        ::IsWindowEnabled(::GetDlgItem(sheet, kFinish))) {
      return true;
    }
    if (TimedOut()) {
      return false;
    }
    ::Sleep(100);
  }
}

bool WaitForText(const char *prefix) {
  for (;;) {
    HWND sheet = Sheet();
    if (sheet != nullptr && ::IsWindowEnabled(sheet) && ShowsText(sheet, prefix)) {
      return true;
    }
    if (TimedOut()) {
      return false;
    }
    ::Sleep(100);
  }
}

bool WaitForAck(const std::string &ack) {
  while (::GetFileAttributesA(ack.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (TimedOut()) {
      return false;
    }
    ::Sleep(50);
  }
  return true;
}

HWND WaitForWindow(const char *window);

bool Shot(const std::string &ackDir, std::string name) {
  const size_t colon = name.find(':');
  HWND sheet =
      colon == std::string::npos ? WaitForSheet() : WaitForWindow(name.c_str() + colon + 1);
  if (sheet == nullptr) {
    return false;
  }
  name.resize(colon == std::string::npos ? name.size() : colon);
  // Above the others: at a high resolution the console of a prerequisite's setup (the recording
  // setup) can cover the launch window. Not a window whose thread is busy (the extraction
  // window): it could not paint what it uncovers.
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutW(sheet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) != 0) {
    ::SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ::Sleep(500);
  // The client area: without a window manager (Xvfb) the caption is never drawn.
  const RECT r = layout_check::ClientOnScreen(sheet);
  std::printf("SHOT %s %ldx%ld+%ld+%ld\n", name.c_str(), r.right - r.left, r.bottom - r.top, r.left,
              r.top);
  std::fflush(stdout);
  return WaitForAck(ackDir + "\\" + name);
}

struct ById {
  int id;
  HWND found;
};

BOOL CALLBACK FindById(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<ById *>(lParam);
  if (::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, search->id) != nullptr) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window with a control of that id, or of that caption.
HWND FindTopWindow(const char *window) {
  if (window[0] != '#') {
    return ::FindWindowA(nullptr, window);
  }
  ById search = {std::atoi(window + 1), nullptr};
  ::EnumWindows(FindById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The window to check: the sheet once it takes input, or a visible window named as above.
HWND WaitForWindow(const char *caption) {
  if (std::strcmp(caption, "sheet") == 0) {
    return WaitForSheet();
  }
  for (;;) {
    HWND window = FindTopWindow(caption);
    if (window != nullptr && ::IsWindowVisible(window)) {
      ::Sleep(500); // let it lay itself out
      return window;
    }
    if (TimedOut()) {
      return nullptr;
    }
    ::Sleep(50);
  }
}

bool Layout(const char *caption) {
  HWND window = WaitForWindow(caption);
  if (window == nullptr) {
    return false;
  }
  std::vector<std::string> faults;
  int checked = 0;
  layout_check::Check(window, &faults, &checked);
  RECT client;
  ::GetClientRect(window, &client);
  std::printf("LAYOUT %s %d controls %ldx%ld\n", caption, checked, client.right, client.bottom);
  std::printf("COLUMNS %s %s\n", caption, layout_check::ListColumns(window).c_str());
  for (const std::string &fault : faults) {
    std::printf("BAD %s: %s\n", caption, fault.c_str());
  }
  std::fflush(stdout);
  return true;
}

bool Key(const std::string &ackDir, const char *keys) {
  static int count = 0;
  const std::string name = "key" + std::to_string(++count);
  std::printf("KEY %s %s\n", name.c_str(), keys);
  std::fflush(stdout);
  const bool typed = WaitForAck(ackDir + "\\" + name);
  ::Sleep(700);
  return typed;
}

// Waits until the window that has the focus in the setup is the control id, or (without a
// text) is named text.
bool WaitForFocus(int id, const char *text) {
  for (;;) {
    HWND sheet = Sheet();
    HWND focus = sheet != nullptr ? FocusOf(sheet) : nullptr;
    if (focus != nullptr &&
        (text != nullptr ? AccessibleName(focus) == text : ::GetDlgCtrlID(focus) == id)) {
      return true;
    }
    if (TimedOut()) {
      std::printf("focus: %d %s\n", focus != nullptr ? ::GetDlgCtrlID(focus) : -1,
                  focus != nullptr ? AccessibleName(focus).c_str() : "none");
      return false;
    }
    ::Sleep(100);
  }
}

bool Release() {
  HANDLE release = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "TessaraSetupRelease");
  for (; release == nullptr && !TimedOut(); ::Sleep(100)) {
    release = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "TessaraSetupRelease");
  }
  const bool done = release != nullptr && ::SetEvent(release);
  if (release != nullptr) {
    ::CloseHandle(release);
  }
  return done;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: wizard_steps <seconds> <ackdir> <step>...\n");
    return 2;
  }
  g_deadline = ::GetTickCount() + static_cast<DWORD>(std::atoi(argv[1])) * 1000;
  ::CoInitialize(nullptr);
  const std::string ackDir = argv[2];
  for (int i = 3; i < argc; ++i) {
    const char *step = argv[i];
    bool done = false;
    if (std::strcmp(step, "next") == 0) {
      done = Press(kNext);
    } else if (std::strcmp(step, "finish") == 0) {
      done = Press(kFinish);
    } else if (std::strcmp(step, "cancel") == 0) {
      done = Press(IDCANCEL);
    } else if (std::strcmp(step, "installed") == 0) {
      done = WaitForFinishOnly();
    } else if (std::strncmp(step, "wait:", 5) == 0) {
      done = WaitForText(step + 5);
    } else if (std::strncmp(step, "shot:", 5) == 0) {
      done = Shot(ackDir, step + 5);
    } else if (std::strncmp(step, "layout:", 7) == 0) {
      done = Layout(step + 7);
    } else if (std::strncmp(step, "texts:", 6) == 0) {
      HWND window = WaitForWindow(step + 6);
      if (window != nullptr) {
        window_texts::Print(window, step + 6);
      }
      done = window != nullptr;
    } else if (std::strcmp(step, "release") == 0) {
      done = Release();
    } else if (std::strncmp(step, "key:", 4) == 0) {
      done = Key(ackDir, step + 4);
    } else if (std::strncmp(step, "focus:", 6) == 0) {
      done = WaitForFocus(std::atoi(step + 6), nullptr);
    } else if (std::strncmp(step, "name:", 5) == 0) {
      done = WaitForFocus(0, step + 5);
    }
    std::printf("%s %s\n", done ? "done" : "FAILED", step);
    std::fflush(stdout);
    if (!done) {
      return 1;
    }
  }
  return 0;
}
