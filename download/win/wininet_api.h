// The WinINet entry points, bound at run time from the system folder (never linked, so a
// wininet.dll planted beside the setup is not loaded). The library stays loaded once loaded, for
// the rest of the process: a call a worker gave up on may still be running inside it, and under
// Wine every unload leaves one of its events behind. So the entry points are bound once too.
#pragma once
#include <windows.h>
#include <wininet.h>

#include "base/win/module.h"

struct WinInetApi {
  using InternetOpenAFn = HINTERNET(WINAPI *)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
  using InternetOpenUrlAFn = HINTERNET(WINAPI *)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD,
                                                 DWORD_PTR);
  using InternetSetOptionAFn = BOOL(WINAPI *)(HINTERNET, DWORD, LPVOID, DWORD);
  using HttpQueryInfoAFn = BOOL(WINAPI *)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
  using InternetErrorDlgFn = DWORD(WINAPI *)(HWND, HINTERNET, DWORD, DWORD, LPVOID *);
  using InternetQueryDataAvailableFn = BOOL(WINAPI *)(HINTERNET, LPDWORD, DWORD, DWORD_PTR);
  using InternetReadFileFn = BOOL(WINAPI *)(HINTERNET, LPVOID, DWORD, LPDWORD);
  using InternetCloseHandleFn = BOOL(WINAPI *)(HINTERNET);

  // The process's entry points, bound on first use; null when wininet.dll or one of them cannot
  // be had. Batches run one at a time, so the first use is never concurrent.
  static const WinInetApi *Get() {
    static WinInetApi api;
    static const bool loaded = api.Load();
    return loaded ? &api : nullptr;
  }

  InternetOpenAFn openA = nullptr;
  InternetOpenUrlAFn openUrlA = nullptr;
  InternetSetOptionAFn setOptionA = nullptr;
  HttpQueryInfoAFn queryInfoA = nullptr;
  InternetErrorDlgFn errorDlg = nullptr;
  InternetQueryDataAvailableFn queryDataAvailable = nullptr;
  InternetReadFileFn readFile = nullptr;
  InternetCloseHandleFn closeHandle = nullptr;

private:
  bool Load() {
    const HMODULE wininet = win::LoadSystemLibrary("wininet.dll");
    return win::BindProc(wininet, "InternetOpenA", &openA) &&
           win::BindProc(wininet, "InternetOpenUrlA", &openUrlA) &&
           win::BindProc(wininet, "InternetSetOptionA", &setOptionA) &&
           win::BindProc(wininet, "HttpQueryInfoA", &queryInfoA) &&
           win::BindProc(wininet, "InternetErrorDlg", &errorDlg) &&
           win::BindProc(wininet, "InternetQueryDataAvailable", &queryDataAvailable) &&
           win::BindProc(wininet, "InternetReadFile", &readFile) &&
           win::BindProc(wininet, "InternetCloseHandle", &closeHandle);
  }
};
