// The WinINet entry points, bound at run time from the system folder (never linked, so a
// wininet.dll planted beside the setup is not loaded). Shared by a session, its requests and the
// thread that makes their blocking calls: a call the worker stopped waiting for may still be
// running when the session ends, so the last owner deletes it.
//
// The library itself stays loaded once loaded, for the rest of the process: a given-up call may
// still be inside it, and under Wine every unload leaves one of its events behind.
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
    static const HMODULE library = win::LoadSystemLibrary("wininet.dll");
    openA = win::ProcAddress<InternetOpenAFn>(library, "InternetOpenA");
    openUrlA = win::ProcAddress<InternetOpenUrlAFn>(library, "InternetOpenUrlA");
    setOptionA = win::ProcAddress<InternetSetOptionAFn>(library, "InternetSetOptionA");
    queryInfoA = win::ProcAddress<HttpQueryInfoAFn>(library, "HttpQueryInfoA");
    setFilePointer = win::ProcAddress<InternetSetFilePointerFn>(library, "InternetSetFilePointer");
    queryDataAvailable =
        win::ProcAddress<InternetQueryDataAvailableFn>(library, "InternetQueryDataAvailable");
    readFile = win::ProcAddress<InternetReadFileFn>(library, "InternetReadFile");
    closeHandle = win::ProcAddress<InternetCloseHandleFn>(library, "InternetCloseHandle");
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
  LONG refs_ = 1;
};
