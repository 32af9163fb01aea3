#include "download/win/wininet_call_thread.h"

#include "download/download_codes.h"

namespace {
// How often a waiting worker looks at the cancel flag.
constexpr DWORD kPollMs = 20;
// A server that sends nothing for this long has stopped; the session's own time-outs are set
// to the same, and this one holds where the system does not apply them to every call.
constexpr DWORD kStallLimitMs = 30000;
} // namespace

WinInetCallThread::WinInetCallThread(const WinInetApi &api) : api_(api) {}

WinInetCallThread::~WinInetCallThread() {
  delete[] buffer_;
  if (go_ != nullptr) {
    ::CloseHandle(go_);
  }
  if (done_ != nullptr) {
    ::CloseHandle(done_);
  }
}

WinInetCallThread *WinInetCallThread::Start(const WinInetApi &api) {
  WinInetCallThread *self = new WinInetCallThread(api);
  self->go_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  self->done_ = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  self->buffer_ = new uint8_t[kBufferSize];
  HANDLE thread = nullptr;
  if (self->go_ != nullptr && self->done_ != nullptr) {
    DWORD id = 0;
    thread = ::CreateThread(nullptr, 0, &WinInetCallThread::Main, self, 0, &id);
  }
  if (thread == nullptr) {
    self->refs_ = 1; // no thread holds it
    self->Release();
    return nullptr;
  }
  ::CloseHandle(thread); // it ends by itself
  return self;
}

DWORD WINAPI WinInetCallThread::Main(LPVOID self) {
  static_cast<WinInetCallThread *>(self)->Run();
  return 0;
}

void WinInetCallThread::Run() {
  for (;;) {
    ::WaitForSingleObject(go_, INFINITE);
    if (::InterlockedCompareExchange(&quit_, 0, 0) != 0) {
      break;
    }
    Perform();
    if (::InterlockedCompareExchange(&quit_, 0, 0) != 0) {
      break;
    }
    ::SetEvent(done_);
  }
  // Whatever a given-up open produced is closed here: nobody else will.
  HINTERNET left = static_cast<HINTERNET>(::InterlockedExchangePointer(&opened_, nullptr));
  if (left != nullptr) {
    api_.closeHandle(left);
  }
  Release();
}

void WinInetCallThread::Perform() {
  if (op_ == Op::OpenUrl) {
    // Never from the cache, and no copy into it: the file is saved where the user chose, and a
    // second copy in the profile's cache would double its disk use and its writing time.
    // Redirects are the worker's to follow: it refuses one from https to http.
    HINTERNET request =
        api_.openUrlA(handle_, url_.c_str(), headers_.empty() ? nullptr : headers_.c_str(),
                      static_cast<DWORD>(headers_.size()),
                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE |
                          INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT,
                      0);
    error_ = ::GetLastError();
    ::InterlockedExchangePointer(&opened_, request);
    return;
  }
  got_ = 0;
  DWORD available = 0;
  ok_ = api_.queryDataAvailable(handle_, &available, 0, 0);
  if (ok_ && available > 0) {
    // InternetReadFile waits until the whole size has come, so more than is available is asked
    // for only when the caller has seen the link keep up.
    DWORD size = available > want_ ? available : want_;
    ok_ = api_.readFile(handle_, buffer_, size < limit_ ? size : limit_, &got_);
  }
}

bool WinInetCallThread::Call(const std::atomic<uint32_t> *flags) {
  ::SetEvent(go_);
  DWORD start = ::GetTickCount();
  for (;;) {
    if (::WaitForSingleObject(done_, kPollMs) == WAIT_OBJECT_0) {
      return true;
    }
    if ((flags->load() & kDownloadCancelFlag) != 0 || ::GetTickCount() - start >= kStallLimitMs) {
      return false;
    }
  }
}

bool WinInetCallThread::OpenUrl(HINTERNET session, const std::string &url,
                                const std::string &headers, const std::atomic<uint32_t> *flags,
                                HINTERNET *request, uint32_t *error) {
  op_ = Op::OpenUrl;
  handle_ = session;
  url_ = url;
  headers_ = headers;
  if (!Call(flags)) {
    return false;
  }
  *request = static_cast<HINTERNET>(::InterlockedExchangePointer(&opened_, nullptr));
  *error = error_;
  return true;
}

bool WinInetCallThread::Read(HINTERNET request, uint32_t want, uint32_t limit,
                             const std::atomic<uint32_t> *flags, bool *ok, uint32_t *got) {
  op_ = Op::Read;
  handle_ = request;
  want_ = want;
  limit_ = limit < kBufferSize ? limit : kBufferSize;
  if (!Call(flags)) {
    return false;
  }
  *ok = ok_ != FALSE;
  *got = got_;
  return true;
}

void WinInetCallThread::Quit() {
  ::InterlockedExchange(&quit_, 1);
  ::SetEvent(go_);
  Release();
}

void WinInetCallThread::Release() {
  if (::InterlockedDecrement(&refs_) == 0) {
    delete this;
  }
}
