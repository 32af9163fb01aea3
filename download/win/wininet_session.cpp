#include "download/win/wininet_session.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "base/divide.h"
#include "download/win/wininet_api.h"
#include "download/win/wininet_call_thread.h"

namespace {

// The time-outs of WinINet, the same as the call thread's stall limit.
constexpr DWORD kTimeoutMs = 30000;
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
  bool QueryHeader(HttpHeader header, std::string *value) override;
  bool AskCredentials(void *owner) override;
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
  WinInetSession(const WinInetApi &api, const char *agent, const std::atomic<uint32_t> *flags)
      : api_(api), agent_(agent), flags_(flags) {}
  ~WinInetSession() override {
    if (calls_ != nullptr) {
      calls_->Quit();
    }
    CloseHandle(&handle_);
  }

  // The internet handle: InternetOpenA with the system's proxy settings and finite time-outs,
  // so that WinINet itself gives up on a silent server where it applies them.
  bool Open() {
    handle_ = api_.openA(agent_, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (handle_ == nullptr) {
      return false;
    }
    DWORD timeout = kTimeoutMs;
    const DWORD options[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT};
    for (DWORD option : options) {
      api_.setOptionA(handle_, option, &timeout, sizeof timeout);
    }
    return true;
  }

  std::unique_ptr<HttpRequest> OpenUrl(const std::string &url, const std::string &headers,
                                       uint32_t *error) override {
    HINTERNET request = nullptr;
    *error = ERROR_INTERNET_TIMEOUT;
    if ((handle_ == nullptr && !Open()) || !EnsureCalls()) {
      *error = ::GetLastError();
      return nullptr;
    }
    if (!calls_->OpenUrl(handle_, url, headers, flags_, &request, error)) {
      // Closing the parent ends an open in progress where the system allows; the next open
      // makes a new one.
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
  const char *agent_;
  HINTERNET handle_ = nullptr;
  const std::atomic<uint32_t> *flags_;
  WinInetCallThread *calls_ = nullptr;
};

WinInetRequest::~WinInetRequest() { session_.CloseHandle(&handle_); }

bool WinInetRequest::QueryHeader(HttpHeader header, std::string *value) {
  // Room for the longest address a browser takes.
  char buffer[2084];
  DWORD size = sizeof buffer;
  if (handle_ == nullptr ||
      !session_.api().queryInfoA(handle_, static_cast<DWORD>(header), buffer, &size, nullptr)) {
    return false;
  }
  *value = std::string(buffer, size);
  return true;
}

bool WinInetRequest::AskCredentials(void *owner) {
  // The dialog stores what the user gives in the session, which sends it from then on.
  return owner != nullptr && handle_ != nullptr &&
         session_.api().errorDlg(
             static_cast<HWND>(owner), handle_, ERROR_INTERNET_INCORRECT_PASSWORD,
             FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                 FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
             nullptr) == ERROR_INTERNET_FORCE_RETRY;
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
  std::unique_ptr<WinInetSession> session(new WinInetSession(*api, agent, flags));
  if (!session->Open()) {
    return nullptr;
  }
  return session;
}
