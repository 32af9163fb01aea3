// Runs the prerequisites wizard as the setup would: this program is packed as a setup's stub
// (a configuration and prerequisite setups appended), opens its own archive, detects, and then
// for each run builds a fresh plan and shows the wizard. After each run it prints what the
// caller gets, and around it the process's handle counts:
//   COUNTS <before|after> <kernel handles> <GDI objects> <USER objects>
//   RUN <n> CANCELLED <0|1>
//   RUN <n> ACTION <i> <value> <action text>
// Options: --runs N              runs in turn (1)
//          --folder <path>       the last run's download folder, set as Browse sets it
//          --bench               time from construction to the first page painted, and a
//                                plain dialog of this program as the baseline:
//                                "PAINT_MS <wizard> <baseline>"
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/sfx_archive.h"
#include "base/win/module.h"
#include "base/win/module_state.h"
#include "plan/prereq_plan.h"
#include "prereq/prerequisite_list.h"
#include "resources/resource.h"
#include "resources/setup_wizard_ids.h"
#include "ui/setup_name.h"
#include "ui/setup_wizard.h"

namespace {

bool OnWine() {
  return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Open kernel handle values, found by asking for each value's flags: GetProcessHandleCount is a
// stub under Wine.
std::vector<uintptr_t> OpenHandles() {
  std::vector<uintptr_t> open;
  for (uintptr_t value = 4; value < 0x20000; value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      open.push_back(value);
    }
  }
  return open;
}

// What a handle is, for the report of one left behind: its type and name.
std::string Describe(uintptr_t value) {
  using QueryObject = LONG(WINAPI *)(HANDLE, int, void *, ULONG, ULONG *);
  auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
  std::string text;
  for (int kind : {2, 1}) { // ObjectTypeInformation, ObjectNameInformation
    alignas(8) unsigned char buffer[2048] = {};
    ULONG length = 0;
    char name[1024] = {};
    if (query != nullptr &&
        query(reinterpret_cast<HANDLE>(value), kind, buffer, sizeof buffer, &length) == 0) {
      // Both answers start with a UNICODE_STRING: length in bytes, capacity, characters.
      struct CountedText {
        USHORT bytes;
        USHORT capacity;
        const WCHAR *chars;
      };
      CountedText answer;
      std::memcpy(&answer, buffer, sizeof answer);
      if (answer.chars != nullptr) {
        ::WideCharToMultiByte(CP_ACP, 0, answer.chars, answer.bytes / 2, name, sizeof name - 1,
                              nullptr, nullptr);
      }
    }
    text += std::string(" ") + (name[0] != '\0' ? name : "-");
  }
  return text;
}

// Wine keeps its GDI handle table in process memory that the PEB points to, one 24-byte entry
// per handle with a non-zero type while in use; its GetGuiResources is a stub.
struct WineGdiEntry {
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t userPointer;
};
static_assert(sizeof(WineGdiEntry) == 24, "Wine's GDI handle entry");

unsigned long GdiObjects() {
  if (!OnWine()) {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  }
  const char *peb = nullptr;
#ifdef _WIN64
  __asm__("movq %%gs:0x60, %0" : "=r"(peb)); // the PEB of this 64-bit process
  const size_t gdiTableOffset = 0xF8;
#else
  __asm__("movl %%fs:0x30, %0" : "=r"(peb)); // the PEB of this 32-bit process
  const size_t gdiTableOffset = 0x94;
#endif
  const auto *table = *reinterpret_cast<const WineGdiEntry *const *>(peb + gdiTableOffset);
  unsigned long used = 0;
  for (size_t i = 0; table != nullptr && i < 0x10000; ++i) {
    used += table[i].type != 0 ? 1 : 0;
  }
  return used;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM lParam) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process == ::GetCurrentProcessId()) {
    ++*reinterpret_cast<unsigned long *>(lParam);
    ::EnumChildWindows(hwnd, CountWindow, lParam);
  }
  return TRUE;
}

// USER objects: the system's count where there is one; under Wine this process's windows.
unsigned long UserObjects() {
  if (!OnWine()) {
    return ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
  }
  unsigned long windows = 0;
  ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Prints the counts; after a run also every kernel handle that was not open before it.
void PrintCounts(const char *phase, std::vector<uintptr_t> *handles) {
  const std::vector<uintptr_t> open = OpenHandles();
  std::printf("COUNTS %s %lu %lu %lu\n", phase, static_cast<unsigned long>(open.size()),
              GdiObjects(), UserObjects());
  for (uintptr_t value : open) {
    if (std::find(handles->begin(), handles->end(), value) == handles->end() && !handles->empty()) {
      std::printf("NEW_HANDLE %lx%s\n", static_cast<unsigned long>(value), Describe(value).c_str());
    }
  }
  *handles = open;
  std::fflush(stdout);
}

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The first paint of the control watched: its WM_PAINT is taken from the queue and dispatched
// before the next message is taken. Then whatever is shown is cancelled.
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
      // The sheet (through its Cancel) or the plain dialog.
      ::PostMessageA(::GetActiveWindow(), WM_COMMAND, IDCANCEL, 0);
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

// The wizard's title as the setup gives it: the bare path when the version block is unreadable.
std::string WizardTitle(const SfxArchive &archive) {
  std::string name;
  return ProductNameOrPath(archive.modulePath(), &name) ? SetupTitle(name) : name;
}

} // namespace

int main(int argc, char **argv) {
  std::string lastFolder;
  int runs = 1;
  bool bench = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--folder" && i + 1 < argc) {
      lastFolder = argv[++i];
    } else if (option == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (option == "--bench") {
      bench = true;
    } else {
      std::fprintf(stderr, "usage: wizard_run [--runs N] [--folder <path>] [--bench]\n");
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

  if (bench) {
    PrereqPlan plan(archive, list);
    StartWatch(IDC_INFORMATION_TEXT);
    const double started = Now();
    {
      SetupWizard wizard(plan, WizardTitle(archive));
      wizard.Run(::GetActiveWindow());
    }
    const double wizardMs = StopWatch(started);
    StartWatch(IDC_STATUS_TEXT);
    const double plainStarted = Now();
    ::DialogBoxParamA(win::ModuleInstance(), MAKEINTRESOURCEA(IDD_STATUS), nullptr, PlainDialog, 0);
    std::printf("PAINT_MS %.2f %.2f\n", wizardMs, StopWatch(plainStarted));
    return 0;
  }

  // Each run as the setup's would be: a fresh plan from the decisions, and the wizard.
  for (int run = 1; run <= runs; ++run) {
    std::vector<uintptr_t> handles;
    PrintCounts("before", &handles);
    {
      PrereqPlan plan(archive, list);
      if (run == runs && !lastFolder.empty()) {
        plan.setDownloadFolder(lastFolder);
      }
      bool cancelled = true;
      {
        SetupWizard wizard(plan, WizardTitle(archive));
        wizard.Run(::GetActiveWindow());
        cancelled = wizard.cancelled();
      }
      std::printf("RUN %d CANCELLED %d\n", run, cancelled ? 1 : 0);
      for (size_t i = 0; i < plan.count(); ++i) {
        std::printf("RUN %d ACTION %u %d %s\n", run, static_cast<unsigned>(i),
                    static_cast<int>(plan.action(i)), PrerequisiteList::ActionText(plan.action(i)));
      }
    }
    PrintCounts("after", &handles);
  }
  richEdit.Free();
  ::CoUninitialize();
  return 0;
}
