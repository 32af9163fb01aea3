// Benchmark program for the download engine under Wine (driven by tests/bench/download_*.sh).
//   download_bench silent <folder> <url> <size>
//     one silent batch; prints "MS <elapsed>" and "RESULT <n>".
//   download_bench loop <chunk KiB> <flush|noflush|flushend> <file> <url> [nocachewrite]
//     the plain WinINet baseline: InternetReadFile of a fixed size into one buffer, WriteFile,
//     FlushFileBuffers after each read with flush, once at the end with flushend (as the engine
//     does before it reports a file complete); with nocachewrite, WinINet is told not to keep a
//     copy in its cache; prints "MS <elapsed>" and "BYTES <n>".
//   download_bench cancel <folder> <url> <size>
//     starts a batch, cancels it half a second after its first chunk and prints "CANCEL_MS <ms>":
//     from cancel() to the worker's end (against a server that has stopped sending, the time to
//     give up).
//   download_bench pause <folder> <url> <size> <pauses>
//     pauses a running batch repeatedly; prints "HOLD_MS <ms>" (from pause() to the last
//     chunk the worker still reported) and "CHUNK_MS <ms>" (the mean time between chunks).
#include <windows.h>

#include <wininet.h>

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

// Remembers when each chunk arrived.
class ChunkClock : public DownloadNotifier {
public:
  void Post(unsigned code, uintptr_t, intptr_t) override {
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

int Silent(const char *folder, const char *url, const char *size) {
  DownloadBatch batch;
  batch.setFolder(folder);
  batch.items().push_back(Item(url, size));
  double start = NowMs();
  const DownloadRunResult result = batch.runSilently();
  std::printf("MS %.1f\nRESULT %d\n", NowMs() - start, static_cast<int>(result));
  return result == DownloadRunResult::AllAttempted &&
                 batch.items()[0].status == DownloadItemStatus::Ok
             ? 0
             : 1;
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
  // Pauses are measured during the transfer: opening the URL is no read a pause could stop.
  for (int i = 0; i < 1000 && clock.times().empty(); ++i) {
    ::Sleep(10);
  }
  for (int i = 0; i < pauses; ++i) {
    ::Sleep(300);
    std::vector<double> before = clock.times();
    for (size_t k = before.size() > 20 ? before.size() - 20 : 1; k < before.size(); ++k) {
      chunkSum += before[k] - before[k - 1];
      ++chunkCount;
    }
    double pausedAt = NowMs();
    batch.pause();
    ::Sleep(500);
    std::vector<double> after = clock.times();
    double last = pausedAt;
    for (double t : after) {
      last = std::max(last, t);
    }
    holds.push_back(last - pausedAt);
    batch.resume();
  }
  batch.cancel();
  batch.WaitWorker();
  std::sort(holds.begin(), holds.end());
  std::printf("HOLD_MS %.1f\nHOLD_MAX_MS %.1f\nCHUNK_MS %.2f\n", holds[holds.size() / 2],
              holds.back(), chunkCount ? chunkSum / static_cast<double>(chunkCount) : 0.0);
  return 0;
}

int Loop(uint32_t chunk, const std::string &flush, bool cacheWrite, const char *path,
         const char *url) {
  double start = NowMs();
  HINTERNET internet =
      ::InternetOpenA("Tessara", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  HINTERNET request = internet == nullptr
                          ? nullptr
                          : ::InternetOpenUrlA(internet, url, nullptr, 0,
                                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                                                   (cacheWrite ? 0 : INTERNET_FLAG_NO_CACHE_WRITE),
                                               0);
  HANDLE file =
      ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (request == nullptr || file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  std::vector<char> buffer(chunk);
  uint64_t total = 0;
  DWORD got = 0;
  bool ok = true;
  while ((ok = ::InternetReadFile(request, buffer.data(), chunk, &got) != FALSE) && got > 0) {
    DWORD written = 0;
    if (!::WriteFile(file, buffer.data(), got, &written, nullptr) || written != got) {
      ok = false;
      break;
    }
    if (flush == "flush") {
      ::FlushFileBuffers(file);
    }
    total += got;
  }
  if (flush == "flushend") {
    ::FlushFileBuffers(file);
  }
  ::CloseHandle(file);
  ::InternetCloseHandle(request);
  ::InternetCloseHandle(internet);
  std::printf("MS %.1f\nBYTES %llu\n", NowMs() - start, static_cast<unsigned long long>(total));
  return ok ? 0 : 1;
}

int Cancel(const char *folder, const char *url, const char *size) {
  DownloadBatch batch;
  batch.setFolder(folder);
  batch.items().push_back(Item(url, size));
  ChunkClock clock;
  if (!batch.StartWorker(&clock)) {
    return 1;
  }
  for (int i = 0; i < 1000 && clock.times().empty(); ++i) {
    ::Sleep(10);
  }
  ::Sleep(500);
  double start = NowMs();
  batch.cancel();
  batch.WaitWorker();
  std::printf("CANCEL_MS %.1f\nRESULT %d\n", NowMs() - start, static_cast<int>(batch.result()));
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "silent" && argc == 5) {
    return Silent(argv[2], argv[3], argv[4]);
  }
  if (mode == "loop" && (argc == 6 || (argc == 7 && std::string(argv[6]) == "nocachewrite"))) {
    return Loop(static_cast<uint32_t>(std::atoi(argv[2])) * 1024, argv[3], argc == 6, argv[4],
                argv[5]);
  }
  if (mode == "cancel" && argc == 5) {
    return Cancel(argv[2], argv[3], argv[4]);
  }
  if (mode == "pause" && argc == 6) {
    return Pause(argv[2], argv[3], argv[4], std::max(1, std::atoi(argv[5])));
  }
  std::fprintf(stderr, "usage: see the comment at the top of download_bench.cpp\n");
  return 2;
}
