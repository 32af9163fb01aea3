// Benchmark program for the download engine under Wine (driven by tests/bench/download_*.sh).
//   download_bench silent <flush|noflush> <folder> <url> <size>
//     one silent batch; prints "MS <elapsed>" and "RESULT <n>". noflush links the same engine
//     with a local file whose per-chunk flush does nothing.
//   download_bench pause <folder> <url> <size> <pauses>
//     pauses a running batch repeatedly; prints "HOLD_MS <ms>" (from control(0) to the last
//     chunk the worker still wrote) and "CHUNK_MS <ms>" (the mean time between chunks).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "download/download_batch.h"
#include "download/download_codes.h"

namespace {

double NowMs() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The system's platform with the flush after each chunk switched off.
class NoFlushPlatform : public DownloadPlatform {
public:
  std::unique_ptr<PauseEvent> CreatePauseEvent() override {
    return DefaultDownloadPlatform().CreatePauseEvent();
  }
  std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) override {
    return DefaultDownloadPlatform().StartThread(entry, arg);
  }
  uint32_t TimeOfDayMs() override { return DefaultDownloadPlatform().TimeOfDayMs(); }
  std::unique_ptr<HttpSession> OpenInternet(const char *agent) override {
    return DefaultDownloadPlatform().OpenInternet(agent);
  }
  std::unique_ptr<LocalFile> NewLocalFile() override { return NewSystemLocalFile(false); }
  int ShowDownloadDialog(DownloadBatch &) override { return 1; }
};

// Remembers when each chunk arrived.
class ChunkClock : public DownloadNotifier {
public:
  void Post(int code, uintptr_t, intptr_t) override {
    if (code == DLM_PROGRESS) {
      std::lock_guard<std::mutex> lock(mutex_);
      times_.push_back(NowMs());
    }
  }
  std::vector<double> times() {
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
  }

private:
  std::mutex mutex_;
  std::vector<double> times_;
};

DownloadItem Item(const char *url, const char *size) {
  DownloadItem item;
  item.url = url;
  item.size = static_cast<uint32_t>(std::strtoul(size, nullptr, 10));
  return item;
}

int Silent(bool flush, const char *folder, const char *url, const char *size) {
  NoFlushPlatform noFlush;
  DownloadBatch batch(flush ? DefaultDownloadPlatform() : noFlush);
  batch.setFolder(folder);
  batch.items().push_back(Item(url, size));
  double start = NowMs();
  int result = batch.run(true);
  std::printf("MS %.1f\nRESULT %d\n", NowMs() - start, result);
  return result == 0 && batch.items()[0].status == DownloadItemStatus::Ok ? 0 : 1;
}

int Pause(const char *folder, const char *url, const char *size, int pauses) {
  DownloadBatch batch;
  batch.setFolder(folder);
  batch.items().push_back(Item(url, size));
  ChunkClock clock;
  if (!batch.StartWorker(&clock)) {
    return 1;
  }
  std::vector<double> holds;
  double chunkSum = 0;
  size_t chunkCount = 0;
  for (int i = 0; i < pauses; ++i) {
    ::Sleep(300);
    std::vector<double> before = clock.times();
    for (size_t k = before.size() > 20 ? before.size() - 20 : 1; k < before.size(); ++k) {
      chunkSum += before[k] - before[k - 1];
      ++chunkCount;
    }
    double pausedAt = NowMs();
    batch.control(kDownloadPause);
    ::Sleep(500);
    std::vector<double> after = clock.times();
    double last = pausedAt;
    for (double t : after) {
      last = std::max(last, t);
    }
    holds.push_back(last - pausedAt);
    batch.control(kDownloadResume);
  }
  batch.control(kDownloadCancel);
  batch.WaitWorker();
  std::sort(holds.begin(), holds.end());
  std::printf("HOLD_MS %.1f\nHOLD_MAX_MS %.1f\nCHUNK_MS %.2f\n", holds[holds.size() / 2],
              holds.back(), chunkCount ? chunkSum / static_cast<double>(chunkCount) : 0.0);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "silent" && argc == 6) {
    return Silent(std::string(argv[2]) == "flush", argv[3], argv[4], argv[5]);
  }
  if (mode == "pause" && argc == 6) {
    return Pause(argv[2], argv[3], argv[4], std::max(1, std::atoi(argv[5])));
  }
  std::fprintf(stderr, "usage: see the comment at the top of download_bench.cpp\n");
  return 2;
}
