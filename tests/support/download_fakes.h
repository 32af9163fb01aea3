// Scripted stand-ins for the download engine's platform: an HTTP session that serves fixed
// bodies and injects faults, a clock that returns given times, files that can fail to write,
// and a notifier that records every posted message.
#pragma once
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "download/download_platform.h"

struct Message {
  unsigned code;
  uintptr_t wParam;
  intptr_t lParam;
  bool operator==(const Message &o) const {
    return code == o.code && wParam == o.wParam && lParam == o.lParam;
  }
};

inline std::ostream &operator<<(std::ostream &os, const Message &m) {
  return os << "{" << m.code << ", " << m.wParam << ", " << m.lParam << "}";
}

class RecordingNotifier : public DownloadNotifier {
public:
  void *owner = nullptr; // a window to ask the user from
  void *Owner() override { return owner; }
  void Post(unsigned code, uintptr_t wParam, intptr_t lParam) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({code, wParam, lParam});
  }
  std::vector<Message> messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }
  std::vector<unsigned> codes() {
    std::vector<unsigned> out;
    for (const Message &m : messages()) {
      out.push_back(m.code);
    }
    return out;
  }

private:
  std::mutex mutex_;
  std::vector<Message> messages_;
};

// What the server does for one URL.
inline char GeneratedByte(uint32_t offset) { return static_cast<char>((offset * 7u + 3u) >> 3); }

struct ServedFile {
  std::string body;
  // Non-zero: the body is this many bytes of GeneratedByte instead (files near 4 GiB).
  uint32_t generatedSize = 0;
  bool sendLength = true;
  uint32_t lieLength = 0; // non-zero: announced instead of the real length
  bool honoursRange = false;
  // A ranged answer is a 206 with the file's first bytes, labelled as such.
  bool sendsFirstBytes = false;
  // The first faulty requests answer status (when not 0) or fail their reads as below.
  int faulty = 1000000;
  uint32_t status = 0;
  std::string location;            // sent with status
  uint32_t openError = 0;          // non-zero: the faulty opens fail with it
  uint32_t chunk = 8192;           // bytes per read at most
  int failReadAt = -1;             // the read with this index fails
  int endCleanlyAt = -1;           // the read with this index returns 0 bytes early
  std::function<void(int)> onRead; // called before each read with its index
};

class ScriptedSession;

class ScriptedRequest : public HttpRequest {
public:
  ScriptedRequest(ScriptedSession &session, ServedFile &file, uint32_t start, bool ranged,
                  bool faulty)
      : session_(session), origin_(file), file_(file), pos_(start), asked_(start), ranged_(ranged) {
    if (ranged && file.sendsFirstBytes) {
      pos_ = 0;
    }
    end_ = pos_ + size() - asked_;
    if (!faulty) {
      file_.failReadAt = file_.endCleanlyAt = -1;
      file_.status = 0;
    }
  }
  bool QueryContentLength(uint32_t *length) override {
    if (!file_.sendLength) {
      return false;
    }
    uint32_t full = file_.lieLength != 0 ? file_.lieLength : size();
    *length = ranged_ ? full - asked_ : full;
    return true;
  }
  bool QueryStatusCode(uint32_t *status) override {
    *status = file_.status != 0 ? file_.status : ranged_ ? 206 : 200;
    return true;
  }
  bool QueryHeader(HttpHeader header, std::string *value) override {
    *value = file_.location;
    if (header == HttpHeader::ContentRange) {
      const uint32_t full = size();
      *value = !ranged_ ? std::string()
                        : "bytes " + std::to_string(pos_) + "-" +
                              std::to_string(pos_ + full - asked_ - 1) + "/" + std::to_string(full);
    }
    return !value->empty();
  }
  // A window's user gives credentials: the proxy lets the next requests through.
  bool AskCredentials(void *owner) override {
    const bool given = owner != nullptr && file_.status == 407;
    if (given) {
      origin_.status = 0;
    }
    return given;
  }
  bool Read(const uint8_t **data, uint32_t size, uint32_t *read) override;

private:
  uint32_t size() const {
    return file_.generatedSize != 0 ? file_.generatedSize
                                    : static_cast<uint32_t>(file_.body.size());
  }
  ScriptedSession &session_;
  ServedFile &origin_;
  ServedFile file_;
  uint32_t pos_;
  uint32_t asked_;
  uint32_t end_ = 0;
  bool ranged_;
  int reads_ = 0;
  std::string buffer_;
};

class ScriptedSession : public HttpSession {
public:
  std::map<std::string, ServedFile> files;
  std::vector<std::string> opened; // url + " " + headers
  std::atomic<int> totalReads{0};

  std::unique_ptr<HttpRequest> OpenUrl(const std::string &url, const std::string &headers,
                                       uint32_t *error) override {
    opened.push_back(headers.empty() ? url : url + " " + headers);
    auto it = files.find(url);
    *error = 12029; // ERROR_INTERNET_CANNOT_CONNECT
    if (it == files.end()) {
      return nullptr;
    }
    const bool faulty = it->second.faulty-- > 0;
    if (faulty && it->second.openError != 0) {
      *error = it->second.openError;
      return nullptr;
    }
    unsigned long start = 0;
    if (std::sscanf(headers.c_str(), "Range: bytes=%lu-", &start) == 1 && it->second.honoursRange &&
        start <
            (it->second.generatedSize != 0 ? it->second.generatedSize : it->second.body.size())) {
      return std::unique_ptr<HttpRequest>(
          new ScriptedRequest(*this, it->second, static_cast<uint32_t>(start), true, faulty));
    }
    return std::unique_ptr<HttpRequest>(new ScriptedRequest(*this, it->second, 0, false, faulty));
  }
};

inline bool ScriptedRequest::Read(const uint8_t **data, uint32_t size, uint32_t *read) {
  int index = reads_++;
  session_.totalReads++;
  if (file_.onRead) {
    file_.onRead(index);
  }
  *read = 0;
  if (index == file_.failReadAt) {
    return false;
  }
  if (index == file_.endCleanlyAt) {
    return true;
  }
  uint32_t left = end_ - pos_;
  uint32_t n = std::min(std::min(size, file_.chunk), left);
  if (file_.generatedSize != 0) {
    buffer_.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
      buffer_[i] = GeneratedByte(pos_ + i);
    }
  } else {
    buffer_.assign(file_.body, pos_, n);
  }
  *data = reinterpret_cast<const uint8_t *>(buffer_.data());
  pos_ += n;
  *read = n;
  return true;
}

// A file whose writes stop being complete after a number of bytes.
class ShortWriteFile : public LocalFile {
public:
  ShortWriteFile(std::unique_ptr<LocalFile> inner, uint32_t budget)
      : inner_(std::move(inner)), budget_(budget) {}
  bool Open(const std::string &path) override { return inner_->Open(path); }
  bool SeekFromBegin(uint64_t offset) override { return inner_->SeekFromBegin(offset); }
  bool Truncate() override { return inner_->Truncate(); }
  bool Write(const void *data, uint32_t size, uint32_t *written) override {
    uint32_t n = std::min(size, budget_);
    budget_ -= n;
    return inner_->Write(data, n, written);
  }
  bool Flush() override { return inner_->Flush(); }
  void Close() override { inner_->Close(); }

private:
  std::unique_ptr<LocalFile> inner_;
  uint32_t budget_;
};

class FakePlatform : public DownloadPlatform {
public:
  ScriptedSession *session = nullptr; // null: InternetOpenA fails
  bool threadFails = false;
  bool eventFails = false;
  std::vector<uint32_t> times; // returned in turn; the last repeats
  size_t nextTime = 0;
  std::atomic<uint32_t> slept{0}; // milliseconds asked for; none is slept
  uint32_t writeBudget = 0xFFFFFFFFu;
  std::string agent;

  std::unique_ptr<PauseEvent> CreatePauseEvent() override {
    return eventFails ? nullptr : DefaultDownloadPlatform().CreatePauseEvent();
  }
  std::unique_ptr<WorkerThread> StartThread(void (*entry)(void *), void *arg) override {
    return threadFails ? nullptr : DefaultDownloadPlatform().StartThread(entry, arg);
  }
  uint32_t TimeOfDayMs() override {
    if (times.empty()) {
      return 0;
    }
    uint32_t t = times[std::min(nextTime, times.size() - 1)];
    ++nextTime;
    return t;
  }
  void Sleep(uint32_t ms) override { slept += ms; }
  std::unique_ptr<HttpSession> OpenInternet(const char *a, const std::atomic<uint32_t> *) override {
    agent = a;
    if (session == nullptr) {
      return nullptr;
    }
    // The batch owns and closes its session; the test keeps the script.
    struct Borrowed : HttpSession {
      explicit Borrowed(ScriptedSession &s) : inner(s) {}
      std::unique_ptr<HttpRequest> OpenUrl(const std::string &u, const std::string &h,
                                           uint32_t *e) override {
        return inner.OpenUrl(u, h, e);
      }
      ScriptedSession &inner;
    };
    return std::unique_ptr<HttpSession>(new Borrowed(*session));
  }
  std::unique_ptr<LocalFile> NewLocalFile() override {
    return std::unique_ptr<LocalFile>(new ShortWriteFile(NewSystemLocalFile(), writeBudget));
  }
};
