// The POSIX build's platform: standard threads and clock, no internet session.
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>

#include "download/download_platform.h"

namespace {

class PosixPauseEvent : public PauseEvent {
public:
  void Set() override {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    changed_.notify_all();
  }
  void Reset() override {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
  }
  void Wait() override {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return set_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool set_ = true;
};

class PosixThread : public WorkerThread {
public:
  PosixThread(void (*entry)(void *), void *arg) : thread_(entry, arg) {}
  ~PosixThread() override {
    if (thread_.joinable()) {
      thread_.detach();
    }
  }
  void Wait() override {
    if (thread_.joinable()) {
      thread_.join();
    }
  }

private:
  std::thread thread_;
};

class PosixPlatform : public DownloadPlatform {
public:
  std::unique_ptr<PauseEvent> CreatePauseEvent() override {
    return std::unique_ptr<PauseEvent>(new PosixPauseEvent);
  }
  std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) override {
    return std::unique_ptr<WorkerThread>(new PosixThread(entry, arg));
  }
  uint32_t TimeOfDayMs() override {
    using namespace std::chrono;
    auto now = system_clock::now().time_since_epoch();
    auto ms = static_cast<uint64_t>(duration_cast<milliseconds>(now).count());
    return static_cast<uint32_t>(ms % 86400000u);
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::unique_ptr<HttpSession> OpenInternet(const char *, const std::atomic<uint32_t> *) override {
    return nullptr;
  }
  std::unique_ptr<LocalFile> NewLocalFile() override { return NewSystemLocalFile(); }
};

} // namespace

DownloadPlatform &DefaultDownloadPlatform() {
  static PosixPlatform platform;
  return platform;
}
