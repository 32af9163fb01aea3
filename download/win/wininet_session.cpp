#include "download/win/wininet_session.h"

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "base/win/module.h"

namespace {

using InternetOpenAFn = HINTERNET(WINAPI *)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetOpenUrlAFn = HINTERNET(WINAPI *)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
using HttpQueryInfoAFn = BOOL(WINAPI *)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetSetFilePointerFn = DWORD(WINAPI *)(HINTERNET, LONG, PLONG, DWORD, DWORD_PTR);
using InternetReadFileFn = BOOL(WINAPI *)(HINTERNET, LPVOID, DWORD, LPDWORD);
using InternetCloseHandleFn = BOOL(WINAPI *)(HINTERNET);

// The entry points, shared by the session and its requests (which it outlives).
struct WinInet {
  win::Module module;
  InternetOpenAFn openA = nullptr;
  InternetOpenUrlAFn openUrlA = nullptr;
  HttpQueryInfoAFn queryInfoA = nullptr;
  InternetSetFilePointerFn setFilePointer = nullptr;
  InternetReadFileFn readFile = nullptr;
  InternetCloseHandleFn closeHandle = nullptr;

  bool Load() {
    module.Attach(win::LoadSystemLibrary("wininet.dll"));
    openA = module.Proc<InternetOpenAFn>("InternetOpenA");
    openUrlA = module.Proc<InternetOpenUrlAFn>("InternetOpenUrlA");
    queryInfoA = module.Proc<HttpQueryInfoAFn>("HttpQueryInfoA");
    setFilePointer = module.Proc<InternetSetFilePointerFn>("InternetSetFilePointer");
    readFile = module.Proc<InternetReadFileFn>("InternetReadFile");
    closeHandle = module.Proc<InternetCloseHandleFn>("InternetCloseHandle");
    return openA && openUrlA && queryInfoA && setFilePointer && readFile && closeHandle;
  }
};

// Owner of an HINTERNET.
class InternetHandle {
public:
  InternetHandle(const WinInet &api, HINTERNET h) : api_(api), handle_(h) {}
  ~InternetHandle() {
    if (handle_ != nullptr) {
      api_.closeHandle(handle_);
    }
  }
  InternetHandle(const InternetHandle &) = delete;
  InternetHandle &operator=(const InternetHandle &) = delete;
  HINTERNET Get() const { return handle_; }

private:
  const WinInet &api_;
  HINTERNET handle_;
};

class WinInetRequest : public HttpRequest {
public:
  WinInetRequest(const WinInet &api, HINTERNET h) : api_(api), handle_(api, h) {}

  bool QueryContentLength(uint32_t *length) override {
    return QueryNumber(HTTP_QUERY_CONTENT_LENGTH, length);
  }
  bool QueryStatusCode(uint32_t *status) override {
    return QueryNumber(HTTP_QUERY_STATUS_CODE, status);
  }
  bool QueryContentRange(std::string *value) override {
    char buffer[128];
    DWORD size = sizeof buffer;
    if (!api_.queryInfoA(handle_.Get(), HTTP_QUERY_CONTENT_RANGE, buffer, &size, nullptr) ||
        size >= sizeof buffer) {
      return false;
    }
    value->assign(buffer, size);
    return true;
  }
  bool SetFilePointer(uint32_t offset) override {
    if (offset > 0x7FFFFFFFu) {
      return false;
    }
    return api_.setFilePointer(handle_.Get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN, 0) !=
           static_cast<DWORD>(-1);
  }
  bool Read(void *buffer, uint32_t size, uint32_t *read) override {
    DWORD got = 0;
    BOOL ok = api_.readFile(handle_.Get(), buffer, size, &got);
    *read = got;
    return ok != FALSE;
  }

private:
  bool QueryNumber(DWORD query, uint32_t *value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (!api_.queryInfoA(handle_.Get(), query | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr)) {
      return false;
    }
    *value = number;
    return true;
  }

  const WinInet &api_;
  InternetHandle handle_;
};

class WinInetSession : public HttpSession {
public:
  WinInetSession(std::unique_ptr<WinInet> api, HINTERNET h)
      : api_(std::move(api)), handle_(*api_, h) {}

  std::unique_ptr<HttpRequest> OpenUrl(const std::string &url,
                                       const std::string &headers) override {
    HINTERNET request = api_->openUrlA(
        handle_.Get(), url.c_str(), headers.empty() ? nullptr : headers.c_str(),
        static_cast<DWORD>(headers.size()), INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
    if (request == nullptr) {
      return nullptr;
    }
    return std::unique_ptr<HttpRequest>(new WinInetRequest(*api_, request));
  }

private:
  // Declared first: the handle is closed before the library is released.
  std::unique_ptr<WinInet> api_;
  InternetHandle handle_;
};

} // namespace

std::unique_ptr<HttpSession> OpenWinInetSession(const char *agent) {
  std::unique_ptr<WinInet> api(new WinInet);
  if (!api->Load()) {
    return nullptr;
  }
  HINTERNET session = api->openA(agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (session == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<HttpSession>(new WinInetSession(std::move(api), session));
}
