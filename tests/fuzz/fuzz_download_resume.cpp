// A lying server against the download of one file, most of all its resume and its tries again:
// the status, the lengths, a redirect's Location and the body all come from the input. Whatever
// it sends, a file reported complete has exactly the expected length when the server announced
// one.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "download/download_file.h"
#include "download/download_platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Script {
  bool sendLength = false;
  bool rangedOpens = false;
  bool statusKnown = false;
  bool locationKnown = false;
  uint32_t length = 0;
  uint32_t rangedLength = 0;
  uint32_t status = 0;
  uint32_t chunk = 1;
  int failReadAt = -1;
  std::string location;
  std::string body;
};

class LyingRequest : public HttpRequest {
public:
  LyingRequest(const Script &script, bool ranged) : script_(script), ranged_(ranged) {}
  bool QueryContentLength(uint32_t *length) override {
    *length = ranged_ ? script_.rangedLength : script_.length;
    return script_.sendLength;
  }
  bool QueryStatusCode(uint32_t *status) override {
    *status = ranged_ ? script_.status : 200;
    return script_.statusKnown;
  }
  bool QueryHeader(HttpHeader, std::string *value) override {
    *value = script_.location;
    return script_.locationKnown;
  }
  bool Read(const uint8_t **data, uint32_t size, uint32_t *read) override {
    *read = 0;
    if (reads_++ == script_.failReadAt) {
      return false;
    }
    size_t left = pos_ < script_.body.size() ? script_.body.size() - pos_ : 0;
    size_t n = left < size ? left : size;
    n = n < script_.chunk ? n : script_.chunk;
    // The request's own buffer, as the real transport hands out.
    buffer_.assign(script_.body.begin() + static_cast<std::ptrdiff_t>(pos_),
                   script_.body.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
    *data = reinterpret_cast<const uint8_t *>(buffer_.data());
    pos_ += n;
    *read = static_cast<uint32_t>(n);
    return true;
  }

private:
  const Script &script_;
  bool ranged_;
  size_t pos_ = 0;
  int reads_ = 0;
  std::string buffer_;
};

class LyingSession : public HttpSession {
public:
  explicit LyingSession(const Script &script) : script_(script) {}
  std::unique_ptr<HttpRequest> OpenUrl(const std::string &, const std::string &headers,
                                       uint32_t *error) override {
    const bool ranged = !headers.empty();
    *error = 12029;
    if (ranged && !script_.rangedOpens) {
      return nullptr;
    }
    return std::unique_ptr<HttpRequest>(new LyingRequest(script_, ranged));
  }

private:
  const Script &script_;
};

// The host's platform without the pauses between tries.
class NoPausePlatform : public DownloadPlatform {
public:
  std::unique_ptr<PauseEvent> CreatePauseEvent() override { return host_.CreatePauseEvent(); }
  std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) override {
    return host_.StartThread(entry, arg);
  }
  uint32_t TimeOfDayMs() override { return host_.TimeOfDayMs(); }
  void Sleep(uint32_t) override {}
  std::unique_ptr<HttpSession> OpenInternet(const char *, const std::atomic<uint32_t> *) override {
    return nullptr;
  }
  std::unique_ptr<LocalFile> NewLocalFile() override { return host_.NewLocalFile(); }

private:
  DownloadPlatform &host_ = DefaultDownloadPlatform();
};

off_t SizeOf(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput in(data, size);
  Script script;
  const uint8_t flags = in.Byte();
  script.sendLength = (flags & 1) != 0;
  script.locationKnown = (flags & 2) != 0;
  script.rangedOpens = (flags & 4) != 0;
  script.statusKnown = (flags & 8) != 0;
  const bool partialFile = (flags & 32) != 0;
  script.failReadAt = (flags & 64) != 0 ? in.Byte() % 8 : -1;
  script.length = in.Number(8192);
  script.rangedLength = in.Number(0);
  script.status = in.Number(1000);
  script.chunk = 1 + in.Number(4096);
  const uint32_t existing = in.Number(8192);
  const uint32_t expected = (flags & 128) != 0 ? in.Number(8192) : script.length;
  script.location = in.Line();
  script.body = in.Rest();

  const std::string path = FuzzScratchFolder() + "download.bin";
  ::unlink(path.c_str());
  if (partialFile) {
    std::ofstream(path, std::ios::binary).write(std::string(existing, 'p').data(), existing);
  }
  LyingSession session(script);
  NoPausePlatform platform;
  std::unique_ptr<PauseEvent> running = platform.CreatePauseEvent();
  std::atomic<uint32_t> batchFlags{0};
  DownloadItem item;
  item.url = "http://127.0.0.1/dir/download.bin";
  item.size = expected;
  DownloadFileJob job;
  job.item = &item;
  job.path = path;
  job.internet = &session;
  job.flags = &batchFlags;
  job.pauseEvent = running.get();
  job.platform = &platform;
  const DownloadProblem problem = downloadFile(job, std::string());
  FUZZ_CHECK(problem == item.problem && problem != DownloadProblem::Aborted);
  if (problem == DownloadProblem::None && script.sendLength) {
    FUZZ_CHECK(SizeOf(path) == static_cast<off_t>(expected));
  }
  ::unlink(path.c_str());
  return 0;
}
