// Test driver: waits for a dialog window of another process (one with the given button, when a
// button is named), prints its title and the texts of its controls, and presses that button,
// as a user would.
//   window_driver dialog <seconds> [<button text>]
// Exit code 0 when a dialog was found (and the button pressed), 1 on time-out, 2 on misuse.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
  const char *button = nullptr; // when set, only a dialog with this button will do
  HWND found = nullptr;
};

bool HasButton(HWND dialog, const char *text);

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<Search *>(lParam);
  char className[64] = {};
  ::GetClassNameA(hwnd, className, sizeof(className));
  if (::IsWindowVisible(hwnd) && std::strcmp(className, "#32770") == 0 &&
      (search->button == nullptr || HasButton(hwnd, search->button))) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The text as the window manager holds it, in UTF-8: no message is sent, so a window whose thread
// is busy (the extraction window pumps no messages) can still be read.
std::string WindowText(HWND hwnd) {
  WCHAR wide[1024] = {};
  ::InternalGetWindowText(hwnd, wide, 1024);
  char text[2048] = {};
  // UTF-8: a text of any language reaches the script whole.
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
  return text;
}

struct Children {
  const char *press = nullptr;
  HWND button = nullptr;
};

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM lParam) {
  auto *children = reinterpret_cast<Children *>(lParam);
  char className[64] = {};
  ::GetClassNameA(hwnd, className, sizeof(className));
  const std::string text = WindowText(hwnd);
  std::printf("control %s: %s\n", className, text.c_str());
  if (children->press != nullptr && text == children->press) {
    children->button = hwnd;
  }
  return TRUE;
}

struct ButtonSearch {
  const char *text;
  bool found;
};

BOOL CALLBACK FindButton(HWND hwnd, LPARAM lParam) {
  auto *search = reinterpret_cast<ButtonSearch *>(lParam);
  if (WindowText(hwnd) == search->text) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

bool HasButton(HWND dialog, const char *text) {
  ButtonSearch search = {text, false};
  ::EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3 || std::strcmp(argv[1], "dialog") != 0) {
    std::fprintf(stderr, "usage: window_driver dialog <seconds> [<button text>]\n");
    return 2;
  }
  const DWORD deadline = ::GetTickCount() + static_cast<DWORD>(std::atoi(argv[2])) * 1000;
  Search search;
  search.button = argc > 3 ? argv[3] : nullptr;
  while (search.found == nullptr) {
    ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      break;
    }
    if (static_cast<LONG>(::GetTickCount() - deadline) > 0) {
      std::printf("no dialog\n");
      return 1;
    }
    ::Sleep(100);
  }
  // Give the dialog a moment to finish initialising its controls.
  ::Sleep(300);
  std::printf("title: %s\n", WindowText(search.found).c_str());
  Children children;
  children.press = argc > 3 ? argv[3] : nullptr;
  ::EnumChildWindows(search.found, PrintChild, reinterpret_cast<LPARAM>(&children));
  std::fflush(stdout);
  if (children.press != nullptr) {
    if (children.button == nullptr) {
      std::printf("no button %s\n", children.press);
      return 1;
    }
    ::PostMessageA(children.button, BM_CLICK, 0, 0);
  }
  return 0;
}
