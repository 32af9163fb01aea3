// Runs one install pass of the product's plan over a packed setup, as the prerequisites page
// (interactive) or a quiet run (silent) would, and prints what came of it. Usage:
//   install_run <interactive|silent|nothread> <setup.exe> <config.ini> <download folder>
//               [<index>=<action>]...
// The setup's archive is opened into the temporary folder; the prerequisites come from
// config.ini; each <index>=<action> overrides a decided action (as a finished download pass
// would). nothread: interactive, but the launch window's worker thread cannot be created.
// The pass runs twice. Output: "ACTION <i> <n>" before, then "RESULT 0" once both passes have
// returned, "STARTED <i> <0|1>", "FIRST_PASS_HANDLES <before> <after>", and around the second pass
// "HANDLES <before> <after>", "THREADS <before> <after>".
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "archive/sfx_archive.h"
#include "plan/prereq_plan.h"
#include "ui/dialog_pass_windows.h"
#include "ui/launch_dialog.h"

namespace {

HANDLE NoThread(LPTHREAD_START_ROUTINE, LPVOID) { return nullptr; }

// The wizard's windows, except that the launch window gets no worker thread.
class NoThreadWindows : public DialogPassWindows {
public:
  void RunLaunches(const base::ObjectVector<SetupLaunch> &launches,
                   InstallPlatform &installer) override {
    RunLaunchDialog(launches, installer, ::GetActiveWindow(), &NoThread);
  }
};

void RunPass(PrereqPlan &plan, const std::string &mode) {
  DialogPassWindows windows;
  NoThreadWindows noThread;
  if (mode == "silent") {
    plan.installAll();
  } else {
    plan.installAll(mode == "nothread" ? static_cast<PassWindows &>(noThread) : windows);
  }
}

// Counted by probing every handle value: Wine's GetProcessHandleCount reports 0.
DWORD HandleCount() {
  DWORD count = 0;
  DWORD flags = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
    }
  }
  return count;
}

int ThreadCount() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return -1;
  }
  int count = 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more;
       more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) {
      ++count;
    }
  }
  ::CloseHandle(snapshot);
  return count;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: install_run <mode> <setup.exe> <config.ini> <folder> [i=a]...\n");
    return 2;
  }
  const std::string mode = argv[1];
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  SfxArchive archive;
  archive.SetModulePath(argv[2]);
  archive.setExtractFolder(temp);
  if (archive.Open() != kSetupOk) {
    std::printf("OPEN FAILED\n");
    return 3;
  }
  PrerequisiteList list(argv[3]);
  list.LoadConfiguration();
  list.RunDetection();
  list.DecideActions();

  PrereqPlan plan(archive, list);
  plan.setDownloadFolder(argv[4]);
  for (int i = 5; i < argc; ++i) {
    const char *equals = std::strchr(argv[i], '=');
    if (equals != nullptr) {
      plan.setAction(std::strtoul(argv[i], nullptr, 10),
                     static_cast<PrereqAction>(std::atoi(equals + 1)));
    }
  }
  for (size_t i = 0; i < plan.count(); ++i) {
    std::printf("ACTION %u %d\n", static_cast<unsigned>(i), static_cast<int>(plan.action(i)));
  }
  std::fflush(stdout);

  // Two passes, as when the user retries: the counts are taken around the second, so that
  // what the system keeps from its first use (loaded libraries, cached keys) does not count.
  const DWORD handlesFirst = HandleCount();
  RunPass(plan, mode);
  const DWORD handlesBefore = HandleCount();
  const int threadsBefore = ThreadCount();
  RunPass(plan, mode);
  const DWORD handlesAfter = HandleCount();
  const int threadsAfter = ThreadCount();

  std::printf("RESULT 0\n");
  for (size_t i = 0; i < plan.count(); ++i) {
    std::printf("STARTED %u %d\n", static_cast<unsigned>(i), plan.setupStarted(i) ? 1 : 0);
  }
  std::printf("FIRST_PASS_HANDLES %lu %lu\n", static_cast<unsigned long>(handlesFirst),
              static_cast<unsigned long>(handlesBefore));
  std::printf("HANDLES %lu %lu\n", static_cast<unsigned long>(handlesBefore),
              static_cast<unsigned long>(handlesAfter));
  std::printf("THREADS %d %d\n", threadsBefore, threadsAfter);
  return 0;
}
