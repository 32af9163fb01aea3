#include "ui/launch_dialog.h"

#include <objbase.h>

#include "base/file.h"
#include "base/win/centre_on_owner.h"
#include "base/win/dialog.h"
#include "base/win/handle.h"
#include "resources/launch_dialog_ids.h"
#include "ui/launch_messages.h"
#include "ui/ui_text.h"

namespace {

// Asks the window to run the setups itself, after it has been shown.
constexpr UINT kRunOnWindowThread = WM_APP + 1;

// What the worker reads: the window it posts to, the setups and what starts them.
struct WorkerBlock {
  HWND hwnd;
  const base::ObjectVector<SetupLaunch> *launches;
  InstallPlatform *installer;
};

// How the window learns which setup starts next.
enum class Naming {
  Posted, // from the worker: IRM_STARTING
  Shown,  // on the window's own thread: the name is set and painted at once
  None,   // no window
};

// Shows a setup's name (the configuration's text, ANSI) in the window.
void ShowName(HWND window, const SetupLaunch &launch) {
  SetUiItemText(window, IDC_LAUNCH_NAME, sys::PathFromAnsi(launch.name));
}

// Runs every setup in order; the installer notes what each start gave.
void RunSetups(const WorkerBlock &block, Naming naming) {
  for (size_t i = 0; i < block.launches->size(); ++i) {
    const SetupLaunch &launch = (*block.launches)[i];
    if (naming == Naming::Posted) {
      ::PostMessageW(block.hwnd, IRM_STARTING, i, 0);
    } else if (naming == Naming::Shown) {
      ShowName(block.hwnd, launch);
      ::UpdateWindow(block.hwnd);
    }
    block.installer->RunPrerequisiteSetup(launch);
  }
}

// The shell may hand a start to an extension that needs COM on the calling thread.
class ComApartment {
public:
  ComApartment()
      : ok_(SUCCEEDED(
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (ok_) {
      ::CoUninitialize();
    }
  }
  ComApartment(const ComApartment &) = delete;
  ComApartment &operator=(const ComApartment &) = delete;

private:
  bool ok_;
};

DWORD WINAPI LaunchWorker(LPVOID param) {
  const WorkerBlock block = *static_cast<WorkerBlock *>(param);
  {
    ComApartment com;
    RunSetups(block, Naming::Posted);
  }
  ::PostMessageW(block.hwnd, IRM_FINISHED, 0, 0);
  return 0;
}

HANDLE CreateWorkerThread(LPTHREAD_START_ROUTINE routine, LPVOID arg) {
  DWORD id = 0;
  return ::CreateThread(nullptr, 0, routine, arg, 0, &id);
}

class LaunchDialog : public win::Dialog<LaunchDialog> {
public:
  static constexpr int kTemplateId = IDD_LAUNCH;
  static const MessageEntry kMessageMap[5];

  LaunchDialog(const base::ObjectVector<SetupLaunch> &launches, InstallPlatform &installer,
               LaunchThreadStart startThread)
      : block_{nullptr, &launches, &installer}, startThread_(startThread) {}

  // Shows the window; returns when every setup has ended and the worker is gone.
  void Run(HWND owner) {
    RunModal(owner);
    if (worker_.IsValid()) {
      // Its last act was posting IRM_FINISHED; nothing of it is left behind.
      ::WaitForSingleObject(worker_.Get(), INFINITE);
      worker_.Close();
    }
    if (!handedOver_) {
      // The window never came up: no scheduled setup is skipped for that.
      RunSetups(block_, Naming::None);
    }
  }

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM) {
    TranslateWindow(hwnd(), IDD_LAUNCH);
    CentreOnOwner(hwnd());
    handedOver_ = true;
    block_.hwnd = hwnd();
    worker_.Attach(startThread_(&LaunchWorker, &block_));
    if (!worker_.IsValid()) {
      ::PostMessageW(hwnd(), kRunOnWindowThread, 0, 0);
    }
    return FALSE; // no default focus
  }

  INT_PTR OnCommand(WPARAM wParam, LPARAM) {
    // Esc and the close box: the window stays while setups run.
    return LOWORD(wParam) == IDCANCEL ? TRUE : FALSE;
  }

  INT_PTR OnStarting(WPARAM index, LPARAM) {
    if (index < block_.launches->size()) {
      ShowName(hwnd(), (*block_.launches)[index]);
    }
    return TRUE;
  }

  INT_PTR OnFinished(WPARAM, LPARAM) {
    ::EndDialog(hwnd(), 1);
    return TRUE;
  }

  // No worker: the setups run here, as in a quiet run, with the window naming each.
  INT_PTR OnRunOnWindowThread(WPARAM, LPARAM) {
    // The dialog would only show itself once its queue is idle, which it will not be.
    ::ShowWindow(hwnd(), SW_SHOWNORMAL);
    RunSetups(block_, Naming::Shown);
    return OnFinished(0, 0);
  }

  // The setups, what starts them and where their starts go; the window once it exists.
  WorkerBlock block_;
  LaunchThreadStart startThread_;
  win::Handle worker_;
  bool handedOver_ = false;
};

const LaunchDialog::MessageEntry LaunchDialog::kMessageMap[5] = {
    {WM_INITDIALOG, &LaunchDialog::OnInitDialog},
    {WM_COMMAND, &LaunchDialog::OnCommand},
    {IRM_STARTING, &LaunchDialog::OnStarting},
    {IRM_FINISHED, &LaunchDialog::OnFinished},
    {kRunOnWindowThread, &LaunchDialog::OnRunOnWindowThread},
};

} // namespace

void RunLaunchDialog(const base::ObjectVector<SetupLaunch> &launches, InstallPlatform &installer,
                     HWND owner, LaunchThreadStart startThread) {
  LaunchDialog dialog(launches, installer,
                      startThread != nullptr ? startThread : &CreateWorkerThread);
  dialog.Run(owner);
}
