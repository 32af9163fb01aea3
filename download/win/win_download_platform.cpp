// The Windows platform of the download engine: Win32 threads and events, GetSystemTime and
// WinINet.
#include <windows.h>

#include "base/win/handle.h"
#include "download/download_platform.h"
#include "download/download_speed.h"
#include "download/win/signer_check.h"
#include "download/win/wininet_session.h"

namespace {

class WinPauseEvent : public PauseEvent {
public:
  explicit WinPauseEvent(HANDLE h) : event_(h) {}
  void Set() override { ::SetEvent(event_.Get()); }
  void Reset() override { ::ResetEvent(event_.Get()); }
  void Wait() override { ::WaitForSingleObject(event_.Get(), INFINITE); }

private:
  win::Handle event_;
};

struct ThreadStart {
  void (*entry)(void *);
  void *arg;
};

DWORD WINAPI ThreadProc(LPVOID param) {
  ThreadStart start = *static_cast<ThreadStart *>(param);
  delete static_cast<ThreadStart *>(param);
  start.entry(start.arg);
  return 0;
}

class WinThread : public WorkerThread {
public:
  explicit WinThread(HANDLE h) : thread_(h) {}
  void Wait() override { ::WaitForSingleObject(thread_.Get(), INFINITE); }

private:
  win::Handle thread_;
};

class WinPlatform : public DownloadPlatform {
public:
  std::unique_ptr<PauseEvent> CreatePauseEvent() override {
    HANDLE h = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (h == nullptr) {
      return nullptr;
    }
    return std::unique_ptr<PauseEvent>(new WinPauseEvent(h));
  }
  std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) override {
    ThreadStart *start = new ThreadStart{entry, arg};
    DWORD id = 0;
    HANDLE h = ::CreateThread(nullptr, 0, ThreadProc, start, 0, &id);
    if (h == nullptr) {
      delete start;
      return nullptr;
    }
    return std::unique_ptr<WorkerThread>(new WinThread(h));
  }
  uint32_t TimeOfDayMs() override {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return TimeOfDayFromParts(now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  }
  void Sleep(uint32_t ms) override { ::Sleep(ms); }
  std::unique_ptr<HttpSession> OpenInternet(const char *agent,
                                            const std::atomic<uint32_t> *flags) override {
    return OpenWinInetSession(agent, flags);
  }
  std::unique_ptr<LocalFile> NewLocalFile() override { return NewSystemLocalFile(); }
  bool SignedBy(const std::string &path, const std::string &signer) override {
    return IsSignedBy(path, signer);
  }
};

} // namespace

// Made at the first call and kept for the process's life: a static object would be the one
// initialised datum of the setup, and cost a file block of its own.
DownloadPlatform &DefaultDownloadPlatform() {
  static DownloadPlatform *const platform = new WinPlatform;
  return *platform;
}
