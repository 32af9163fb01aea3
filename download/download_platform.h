// What the download engine takes from the system: the worker thread, the pause event, the
// clock, the local file, the internet session and the message target. Windows gets Win32 and
// WinINet; the host build gets the standard library, so the engine's logic is tested natively
// with scripted fakes. The engine opens no window: whoever runs a batch under one brings it.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "download/http_transport.h"

// Manual-reset event: set means run, reset means paused.
class PauseEvent {
public:
  virtual ~PauseEvent() = default;
  virtual void Set() = 0;
  virtual void Reset() = 0;
  // Blocks while the event is reset.
  virtual void Wait() = 0;
};

// A running thread; destroying it does not stop it, Wait() first.
class WorkerThread {
public:
  virtual ~WorkerThread() = default;
  virtual void Wait() = 0;
};

// Receiver of the worker's posted messages (a window on Windows).
class DownloadNotifier {
public:
  virtual ~DownloadNotifier() = default;
  // message is one of the DLM_* ids of download/download_codes.h.
  virtual void Post(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
  // The window that owns the system's dialogs the worker shows (proxy credentials); null
  // where nobody can answer them.
  virtual void *Owner() { return nullptr; }
};

// The local file of one download, opened with OPEN_ALWAYS semantics.
class LocalFile {
public:
  virtual ~LocalFile() = default;
  virtual bool Open(const std::string &path) = 0;
  virtual bool SeekFromBegin(uint64_t offset) = 0;
  // Cuts the file at the current position.
  virtual bool Truncate() = 0;
  virtual bool Write(const void *data, uint32_t size, uint32_t *written) = 0;
  virtual bool Flush() = 0;
  virtual void Close() = 0;
};

class DownloadPlatform {
public:
  virtual ~DownloadPlatform() = default;
  // Created signalled; null when the system refuses.
  virtual std::unique_ptr<PauseEvent> CreatePauseEvent() = 0;
  // Starts entry(arg) on a new thread; null when the thread cannot be created.
  virtual std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) = 0;
  // Milliseconds since midnight, UTC.
  virtual uint32_t TimeOfDayMs() = 0;
  // Sleep: the pauses between tries.
  virtual void Sleep(uint32_t ms) = 0;
  // InternetOpenA(agent, preconfigured proxy); null when it fails. The session's calls give up
  // promptly once the cancel bit of *flags is set.
  virtual std::unique_ptr<HttpSession> OpenInternet(const char *agent,
                                                    const std::atomic<uint32_t> *flags) = 0;
  virtual std::unique_ptr<LocalFile> NewLocalFile() = 0;
  // Whether the file's Authenticode signature is valid and its signer's subject name (CN) is
  // signer, compared without regard to case. Only Windows can tell: elsewhere nothing is.
  virtual bool SignedBy(const std::string &, const std::string &) { return false; }
};

// The platform of this build: Win32/WinINet on Windows, the standard library elsewhere
// (where there is no internet session).
DownloadPlatform &DefaultDownloadPlatform();

// LocalFile over sys::File.
std::unique_ptr<LocalFile> NewSystemLocalFile();
