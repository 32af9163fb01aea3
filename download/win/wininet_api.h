// The WinINet entry points, bound at run time from the system folder (never linked, so a
// wininet.dll planted beside the setup is not loaded). Shared by a session, its requests and the
// thread that makes their blocking calls: a call the worker stopped waiting for may still be
// running inside the library, so the last owner releases it.
#pragma once
#include <windows.h>
#include <wininet.h>

#include "base/win/module.h"

class WinInetApi {
public:
  using InternetOpenAFn = HINTERNET(WINAPI *)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
  using InternetOpenUrlAFn = HINTERNET(WINAPI *)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD,
                                                 DWORD_PTR);
  using InternetSetOptionAFn = BOOL(WINAPI *)(HINTERNET, DWORD, LPVOID, DWORD);
  using HttpQueryInfoAFn = BOOL(WINAPI *)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
  using InternetSetFilePointerFn = DWORD(WINAPI *)(HINTERNET, LONG, PLONG, DWORD, DWORD_PTR);
  using InternetQueryDataAvailableFn = BOOL(WINAPI *)(HINTERNET, LPDWORD, DWORD, DWORD_PTR);
  using InternetReadFileFn = BOOL(WINAPI *)(HINTERNET, LPVOID, DWORD, LPDWORD);
  using InternetCloseHandleFn = BOOL(WINAPI *)(HINTERNET);

  // A new, unloaded instance with one owner.
  WinInetApi() = default;
  WinInetApi(const WinInetApi &) = delete;
  WinInetApi &operator=(const WinInetApi &) = delete;

  bool Load() {
    module_.Attach(win::LoadSystemLibrary("wininet.dll"));
    openA = module_.Proc<InternetOpenAFn>("InternetOpenA");
    openUrlA = module_.Proc<InternetOpenUrlAFn>("InternetOpenUrlA");
    setOptionA = module_.Proc<InternetSetOptionAFn>("InternetSetOptionA");
    queryInfoA = module_.Proc<HttpQueryInfoAFn>("HttpQueryInfoA");
    setFilePointer = module_.Proc<InternetSetFilePointerFn>("InternetSetFilePointer");
    queryDataAvailable = module_.Proc<InternetQueryDataAvailableFn>("InternetQueryDataAvailable");
    readFile = module_.Proc<InternetReadFileFn>("InternetReadFile");
    closeHandle = module_.Proc<InternetCloseHandleFn>("InternetCloseHandle");
    return openA && openUrlA && setOptionA && queryInfoA && setFilePointer && queryDataAvailable &&
           readFile && closeHandle;
  }

  void AddRef() { ::InterlockedIncrement(&refs_); }
  void Release() {
    if (::InterlockedDecrement(&refs_) == 0) {
      delete this;
    }
  }

  InternetOpenAFn openA = nullptr;
  InternetOpenUrlAFn openUrlA = nullptr;
  InternetSetOptionAFn setOptionA = nullptr;
  HttpQueryInfoAFn queryInfoA = nullptr;
  InternetSetFilePointerFn setFilePointer = nullptr;
  InternetQueryDataAvailableFn queryDataAvailable = nullptr;
  InternetReadFileFn readFile = nullptr;
  InternetCloseHandleFn closeHandle = nullptr;

private:
  ~WinInetApi() = default;
  win::Module module_;
  LONG refs_ = 1;
};
