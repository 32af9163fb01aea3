// Reads the text of another process's window for the test drivers.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

// A window can be destroyed while a driver enumerates it. Under Wine a message sent to such a
// window can stay unanswered for good, so the read is bounded: a window that does not answer
// within the limit reads as empty (and is reported, so that a real hang still shows).
inline std::string WindowText(HWND hwnd) {
  constexpr UINT kLimitMs = 3000;
  char text[4096] = {};
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_NORMAL, kLimitMs, &result) == 0) {
    std::printf("NO_ANSWER %p to WM_GETTEXT (error %lu)\n", static_cast<void *>(hwnd),
                static_cast<unsigned long>(::GetLastError()));
    std::fflush(stdout);
    return std::string();
  }
  return text;
}
