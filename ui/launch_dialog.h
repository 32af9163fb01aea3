// The modal "Launching PreRequisites" window (template 205): a worker thread starts the setups
// one after another while the window names the one that runs. It cannot be closed meanwhile.
#pragma once
#include <windows.h>

#include "base/object_vector.h"
#include "install/install_platform.h"

// Creates the worker thread (not suspended); null when it cannot be created.
using LaunchThreadStart = HANDLE (*)(LPTHREAD_START_ROUTINE routine, LPVOID arg);

// Runs every setup in order through installer under the window owned by owner and returns when
// the last has ended and the worker is gone; installer notes what each start gave. When
// no worker can be created, the setups run on this thread under the window, which then closes; when
// the window cannot be shown at all, they run on this thread without it. startThread replaces
// CreateThread (tests); null uses CreateThread.
void RunLaunchDialog(const base::ObjectVector<SetupLaunch> &launches, InstallPlatform &installer,
                     HWND owner, LaunchThreadStart startThread = nullptr);
