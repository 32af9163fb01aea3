#include "ui/window_notifier.h"

#include "download/download_codes.h"

namespace {
// While the queue is full, the window's thread is busy emptying it.
constexpr DWORD kRetryMs = 10;
} // namespace

void WindowNotifier::Post(unsigned message, uintptr_t wParam, intptr_t lParam) {
  bool final = message == DLM_ALL_DONE || message == DLM_ABORTED || message == DLM_START_FAILED;
  while (!post_(hwnd_, message, wParam, lParam) && final && ::IsWindow(hwnd_)) {
    ::Sleep(kRetryMs);
  }
}
