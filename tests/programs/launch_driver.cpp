// Test driver of the launch window, run beside the program that shows it. While the held
// first setup runs, it reads the window, asks the calling script for a screenshot, presses
// Esc and the close box, checks that the window stays, then releases the setup.
//   launch_driver <ackdir> <first setup's name> <second setup's name>
// Prints "OK ..." / "BAD ..." lines and "SHOT <name>" (then waits for <ackdir>\<name>).
// Exit code: the number of failed checks.
#include <windows.h>

#include <cstdio>
#include <string>

#include "resources/launch_dialog_ids.h"
#include "ui/launch_messages.h"

namespace {

int g_bad = 0;

void Check(bool ok, const std::string &what) {
  std::printf("%s %s\n", ok ? "OK" : "BAD", what.c_str());
  std::fflush(stdout);
  if (!ok) {
    ++g_bad;
  }
}

std::string Text(HWND hwnd) {
  WCHAR wide[256] = {};
  ::InternalGetWindowText(hwnd, wide, 256);
  char text[512] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

// Polls for up to a minute: the machine may be slow, the test's own timeout bounds it.
template <class Condition> bool WaitFor(Condition condition) {
  for (int i = 0; i < 1200; ++i) {
    if (condition()) {
      return true;
    }
    ::Sleep(50);
  }
  return false;
}

BOOL CALLBACK FindLabel(HWND child, LPARAM lParam) {
  if (::GetDlgCtrlID(child) != IDC_LAUNCH_NAME) {
    *reinterpret_cast<HWND *>(lParam) = child;
    return FALSE;
  }
  return TRUE;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: launch_driver <ackdir> <first name> <second name>\n");
    return 100;
  }
  const std::string ackDir = argv[1];
  const std::string first = argv[2];
  const std::string second = argv[3];

  HWND dialog = nullptr;
  Check(WaitFor([&] {
          dialog = ::FindWindowA("#32770", "Launching PreRequisites");
          return dialog != nullptr && ::IsWindowVisible(dialog);
        }),
        "window \"Launching PreRequisites\" shown");
  if (dialog == nullptr) {
    return g_bad;
  }
  HWND name = ::GetDlgItem(dialog, IDC_LAUNCH_NAME);
  Check(WaitFor([&] { return Text(name) == first; }), "1018 names the first setup: " + Text(name));
  HWND label = nullptr;
  ::EnumChildWindows(dialog, FindLabel, reinterpret_cast<LPARAM>(&label));
  Check(Text(label) == "Installing:", "label reads \"" + Text(label) + "\"");
  Check(::GetWindow(dialog, GW_OWNER) == nullptr, "no owner when nothing was active");

  // The owner-less window sits in the middle of the work area.
  RECT work;
  RECT self;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::GetWindowRect(dialog, &self);
  const int dx = (self.left - work.left) - (work.right - self.right);
  const int dy = (self.top - work.top) - (work.bottom - self.bottom);
  Check(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, "centred on the work area");

  std::printf("SHOT launch\n");
  std::fflush(stdout);
  const std::string ack = ackDir + "\\launch";
  Check(WaitFor([&] { return ::GetFileAttributesA(ack.c_str()) != INVALID_FILE_ATTRIBUTES; }),
        "screenshot taken");

  // Esc as the dialog's loop receives it, the close box, and WM_CLOSE. Then the runner's own
  // message naming the second setup: posted messages arrive in order, so once the label
  // shows it, the three before it have been handled.
  ::PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  ::PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
  ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ::PostMessageA(dialog, WM_CLOSE, 0, 0);
  ::PostMessageA(dialog, IRM_STARTING, 1, 0);
  Check(WaitFor([&] { return !::IsWindow(dialog) || Text(name) == second; }),
        "the window handled the messages");
  Check(::IsWindow(dialog) && ::IsWindowVisible(dialog),
        "Esc, the close box and WM_CLOSE leave the window open");
  ::PostMessageA(dialog, IRM_STARTING, 0, 0);
  Check(WaitFor([&] { return Text(name) == first; }), "label restored");

  HANDLE release = nullptr;
  Check(WaitFor([&] {
          release = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, "TessaraSetupRelease");
          return release != nullptr;
        }),
        "the held setup waits");
  if (release != nullptr) {
    ::SetEvent(release);
    ::CloseHandle(release);
  }
  Check(WaitFor([&] { return !::IsWindow(dialog); }), "the window closes after the last setup");
  return g_bad;
}
