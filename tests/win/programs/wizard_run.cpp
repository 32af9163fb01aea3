// Runs the prerequisites wizard as the setup would: this program is packed as a setup's stub
// (a configuration and prerequisite setups appended), opens its own archive, detects, builds
// the plan and shows the wizard. Afterwards it prints what the caller gets:
//   CANCELLED <0|1>
//   ACTION <i> <value> <action text>
//   COUNTS <phase> <kernel handles> <GDI objects> <USER objects>   (before / after)
// Options: --folder <path> sets the download folder first, as Browse would.
//          --bench    measures construction to the first page painted, then a plain dialog
//                     of the same program as the baseline, and prints "PAINT_MS <w> <base>".
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "archive/sfx_archive.h"
#include "base/win/module.h"
#include "base/win/module_state.h"
#include "download/prereq_plan.h"
#include "prereq/prerequisite_list.h"
#include "resources/resource.h"
#include "resources/setup_wizard_ids.h"
#include "ui/setup_wizard.h"

namespace {

void PrintCounts(const char *phase) {
  DWORD handles = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
  std::printf("COUNTS %s %lu %lu %lu\n", phase, handles,
              ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
              ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
  std::fflush(stdout);
}

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The first paint of a window with the control id watched: its WM_PAINT is taken from the
// queue and dispatched before the next message is taken.
struct PaintWatch {
  int controlId = 0;
  bool paintTaken = false;
  double paintedAt = 0;
  HHOOK hook = nullptr;
};
PaintWatch g_watch;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  const MSG *msg = reinterpret_cast<const MSG *>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && g_watch.paintedAt == 0) {
    if (g_watch.paintTaken) {
      g_watch.paintedAt = Now();
      // Closes whatever is shown: the sheet (through its Cancel) or the plain dialog.
      HWND top = ::GetActiveWindow();
      ::PostMessageA(top, WM_COMMAND, IDCANCEL, 0);
    } else if (msg->message == WM_PAINT && msg->hwnd != nullptr &&
               ::GetDlgCtrlID(msg->hwnd) == g_watch.controlId) {
      g_watch.paintTaken = true;
      ::PostMessageA(msg->hwnd, WM_NULL, 0, 0);
    }
  }
  return ::CallNextHookEx(g_watch.hook, code, wParam, lParam);
}

void StartWatch(int controlId) {
  g_watch = PaintWatch();
  g_watch.controlId = controlId;
  g_watch.hook =
      ::SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId());
}

double StopWatch(double startedAt) {
  ::UnhookWindowsHookEx(g_watch.hook);
  return g_watch.paintedAt == 0 ? -1 : g_watch.paintedAt - startedAt;
}

INT_PTR CALLBACK PlainDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    ::EndDialog(hwnd, 0);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

} // namespace

int main(int argc, char **argv) {
  std::string folder;
  bool bench = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--folder") == 0 && i + 1 < argc) {
      folder = argv[++i];
    } else if (std::strcmp(argv[i], "--bench") == 0) {
      bench = true;
    } else {
      std::fprintf(stderr, "usage: wizard_run [--folder <path>] [--bench]\n");
      return 2;
    }
  }
  // As the setup starts: COM, the rich-edit class, the common controls.
  ::CoInitialize(nullptr);
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  SfxArchive archive;
  if (archive.OpenInTempFolder() != kSetupOk) {
    std::fprintf(stderr, "wizard_run: no archive appended\n");
    return 3;
  }
  PrerequisiteList list(archive.configPath());
  list.LoadConfiguration();
  list.RunDetection();
  list.DecideActions();

  PrintCounts("before");
  {
    PrereqPlan plan(archive, list);
    if (!folder.empty()) {
      plan.setDownloadFolder(folder);
    }
    if (bench) {
      StartWatch(IDC_INFORMATION_TEXT);
      const double started = Now();
      SetupWizard wizard(plan);
      wizard.Run(::GetActiveWindow());
      const double wizardMs = StopWatch(started);
      StartWatch(IDC_STATUS_TEXT);
      const double plainStarted = Now();
      ::DialogBoxParamA(win::ModuleInstance(), MAKEINTRESOURCEA(IDD_STATUS), nullptr, PlainDialog,
                        0);
      std::printf("PAINT_MS %.2f %.2f\n", wizardMs, StopWatch(plainStarted));
      return 0;
    }
    bool cancelled = true;
    {
      SetupWizard wizard(plan);
      wizard.Run(::GetActiveWindow());
      cancelled = wizard.cancelled();
    }
    std::printf("CANCELLED %d\n", cancelled ? 1 : 0);
    for (size_t i = 0; i < plan.count(); ++i) {
      std::printf("ACTION %u %d %s\n", static_cast<unsigned>(i), static_cast<int>(plan.action(i)),
                  PrerequisiteList::ActionText(plan.action(i)).c_str());
    }
  }
  PrintCounts("after");
  richEdit.Free();
  ::CoUninitialize();
  return 0;
}
