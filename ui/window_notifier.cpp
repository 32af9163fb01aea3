#include "ui/window_notifier.h"

#include "download/download_codes.h"

namespace {
// While the queue is full, the window's thread is busy emptying it.
constexpr DWORD kRetryMs = 10;
} // namespace

void WindowNotifier::Post(int code, uintptr_t wParam, intptr_t lParam) {
  bool final = code == DLM_ALL_DONE || code == DLM_ABORTED || code == DLM_START_FAILED;
  while (!post_(hwnd_, static_cast<UINT>(code), wParam, lParam) && final && ::IsWindow(hwnd_)) {
    ::Sleep(kRetryMs);
  }
}
