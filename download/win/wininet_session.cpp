#include "download/win/wininet_session.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "base/divide.h"
#include "download/win/wininet_api.h"
#include "download/win/wininet_call_thread.h"

namespace {

// Finite time-outs, so that WinINet itself gives up on a silent server where it applies them.
constexpr DWORD kTimeoutMs = 60000;
// A read takes what is available. But WinINet reports at most what its own small buffer holds,
// and a read of more waits until all of it has come; so on a link that delivered at least
// kLargeRead in kReadMs lately (measured over windows of that length) a read asks for what it
// delivers in kReadMs, up to 1 MiB. A fast link gets large reads; a slow one reads what has
// arrived, so it still reports progress and honours Pause promptly. A window also ends once
// kWindowBytes have come: a link that fast leaves the small reads (about 8 KB each under Wine)
// after a few dozen of them instead of a hundred or more.
constexpr uint32_t kLargeRead = 64 * 1024;
constexpr uint64_t kReadMs = 10;
constexpr uint64_t kWindowBytes = 4 * kLargeRead;

// Microseconds; the tick count moves in steps too coarse to time one read, so it serves only
// where there is no performance counter.
uint64_t NowUs() {
  LARGE_INTEGER frequency, counter;
  if (!::QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) {
    return uint64_t{::GetTickCount()} * 1000u;
  }
  ::QueryPerformanceCounter(&counter);
  uint64_t ticks = static_cast<uint64_t>(counter.QuadPart);
  uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
  // A frequency beyond 32 bits is scaled down with the count; the ratio stays.
  while (perSecond > 0xFFFFFFFFu) {
    perSecond >>= 1;
    ticks >>= 1;
  }
  return DivideU64(ticks * 1000000u, static_cast<uint32_t>(perSecond));
}

class WinInetSession;

class WinInetRequest : public HttpRequest {
public:
  WinInetRequest(WinInetSession &session, HINTERNET h) : session_(session), handle_(h) {}
  ~WinInetRequest() override;

  bool QueryContentLength(uint32_t *length) override {
    return QueryNumber(HTTP_QUERY_CONTENT_LENGTH, length);
  }
  bool QueryStatusCode(uint32_t *status) override {
    return QueryNumber(HTTP_QUERY_STATUS_CODE, status);
  }
  bool QueryContentRange(std::string *value) override;
  bool SetFilePointer(uint32_t offset) override;
  bool Read(const uint8_t **data, uint32_t size, uint32_t *read) override;

private:
  bool QueryNumber(DWORD query, uint32_t *value);

  WinInetSession &session_;
  HINTERNET handle_;
  uint32_t want_ = 0; // what is available
  uint64_t windowBytes_ = 0;
  uint64_t windowUs_ = 0;
};

class WinInetSession : public HttpSession {
public:
  WinInetSession(const WinInetApi &api, HINTERNET h, const std::atomic<uint32_t> *flags)
      : api_(api), handle_(h), flags_(flags) {}
  ~WinInetSession() override {
    if (calls_ != nullptr) {
      calls_->Quit();
    }
    CloseHandle(&handle_);
  }

  std::unique_ptr<HttpRequest> OpenUrl(const std::string &url,
                                       const std::string &headers) override {
    if (handle_ == nullptr || !EnsureCalls()) {
      return nullptr;
    }
    HINTERNET request = nullptr;
    if (!calls_->OpenUrl(handle_, url, headers, flags_, &request)) {
      // Closing the parent ends an open in progress where the system allows; the batch stops
      // after a failed open, so the session is not needed again.
      GiveUp(&handle_);
      return nullptr;
    }
    if (request == nullptr) {
      return nullptr;
    }
    return std::unique_ptr<HttpRequest>(new WinInetRequest(*this, request));
  }

  const WinInetApi &api() const { return api_; }

  // Reads through the call thread; false when WinINet failed or the read was given up (the
  // request handle is closed then, and *handle is null).
  bool Read(HINTERNET *handle, uint32_t want, uint32_t limit, uint32_t *got) {
    *got = 0;
    if (*handle == nullptr || !EnsureCalls()) {
      return false;
    }
    bool ok = false;
    if (!calls_->Read(*handle, want, limit, flags_, &ok, got)) {
      GiveUp(handle);
      return false;
    }
    return ok;
  }
  const uint8_t *data() const { return calls_->data(); }

  void CloseHandle(HINTERNET *handle) {
    if (*handle != nullptr) {
      api_.closeHandle(*handle);
      *handle = nullptr;
    }
  }

private:
  bool EnsureCalls() {
    if (calls_ == nullptr) {
      calls_ = WinInetCallThread::Start(api_);
    }
    return calls_ != nullptr;
  }
  // The handle the given-up call uses is closed from here, which ends the call where the system
  // allows it; the call thread finishes on its own otherwise.
  void GiveUp(HINTERNET *handle) {
    CloseHandle(handle);
    calls_->Quit();
    calls_ = nullptr;
  }

  const WinInetApi &api_;
  HINTERNET handle_;
  const std::atomic<uint32_t> *flags_;
  WinInetCallThread *calls_ = nullptr;
};

WinInetRequest::~WinInetRequest() { session_.CloseHandle(&handle_); }

bool WinInetRequest::QueryContentRange(std::string *value) {
  char buffer[128];
  DWORD size = sizeof buffer;
  if (handle_ == nullptr ||
      !session_.api().queryInfoA(handle_, HTTP_QUERY_CONTENT_RANGE, buffer, &size, nullptr) ||
      size >= sizeof buffer) {
    return false;
  }
  *value = std::string(buffer, size);
  return true;
}

bool WinInetRequest::SetFilePointer(uint32_t offset) {
  if (offset > 0x7FFFFFFFu || handle_ == nullptr) {
    return false;
  }
  return session_.api().setFilePointer(handle_, static_cast<LONG>(offset), nullptr, FILE_BEGIN,
                                       0) != static_cast<DWORD>(-1);
}

bool WinInetRequest::Read(const uint8_t **data, uint32_t size, uint32_t *read) {
  uint32_t limit = size < WinInetCallThread::kBufferSize ? size : WinInetCallThread::kBufferSize;
  uint32_t want = want_ < limit ? want_ : limit;
  uint64_t start = NowUs();
  bool ok = session_.Read(&handle_, want, limit, read);
  uint64_t took = NowUs() - start;
  if (!ok || *read > limit) {
    *read = 0;
    return false;
  }
  *data = session_.data();
  windowBytes_ += *read;
  windowUs_ += took;
  if (windowUs_ >= kReadMs * 1000 || windowBytes_ >= kWindowBytes) {
    // A window ended by its bytes may have taken less than a microsecond on the clock.
    const uint32_t us = windowUs_ == 0            ? 1u
                        : windowUs_ > 0xFFFFFFFFu ? 0xFFFFFFFFu
                                                  : static_cast<uint32_t>(windowUs_);
    uint64_t next = DivideU64(windowBytes_ * kReadMs * 1000, us);
    want_ = next < kLargeRead ? 0
                              : static_cast<uint32_t>(next < WinInetCallThread::kBufferSize
                                                          ? next
                                                          : WinInetCallThread::kBufferSize);
    windowBytes_ = 0;
    windowUs_ = 0;
  }
  return true;
}

bool WinInetRequest::QueryNumber(DWORD query, uint32_t *value) {
  DWORD number = 0;
  DWORD size = sizeof number;
  if (handle_ == nullptr || !session_.api().queryInfoA(handle_, query | HTTP_QUERY_FLAG_NUMBER,
                                                       &number, &size, nullptr)) {
    return false;
  }
  *value = number;
  return true;
}

} // namespace

std::unique_ptr<HttpSession> OpenWinInetSession(const char *agent,
                                                const std::atomic<uint32_t> *flags) {
  const WinInetApi *api = WinInetApi::Get();
  if (api == nullptr) {
    return nullptr;
  }
  HINTERNET session = api->openA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (session == nullptr) {
    return nullptr;
  }
  DWORD timeout = kTimeoutMs;
  const DWORD options[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                           INTERNET_OPTION_RECEIVE_TIMEOUT};
  for (DWORD option : options) {
    api->setOptionA(session, option, &timeout, sizeof timeout);
  }
  return std::unique_ptr<HttpSession>(new WinInetSession(*api, session, flags));
}
