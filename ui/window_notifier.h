// Posts the download worker's messages to a window. A message that ends the batch
// (DLM_ALL_DONE, DLM_ABORTED, DLM_START_FAILED) is the only thing that closes the dialog, so it
// is posted again until the queue takes it; a dropped progress message only loses a step.
#pragma once
#include <windows.h>

#include "download/download_platform.h"

class WindowNotifier : public DownloadNotifier {
public:
  using PostFn = BOOL(WINAPI *)(HWND, UINT, WPARAM, LPARAM);
  // post stands in for PostMessageW in tests: the system's quota cannot be reached everywhere.
  explicit WindowNotifier(PostFn post = ::PostMessageW) : post_(post) {}
  void setWindow(HWND hwnd) { hwnd_ = hwnd; }
  void Post(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void *Owner() override { return hwnd_; }

private:
  PostFn post_;
  HWND hwnd_ = nullptr;
};
