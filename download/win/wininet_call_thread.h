// Makes the blocking WinINet calls of a session (opening a URL, reading) one at a time on a
// thread of its own, so that the download worker can stop waiting for one: when its batch is
// cancelled, or when the server has sent nothing for too long. A call given up keeps running
// until WinINet returns it; the thread then closes what it opened and ends by itself.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "download/win/wininet_api.h"

class WinInetCallThread {
public:
  // The largest read, and the buffer it lands in (owned by the thread's state).
  static constexpr uint32_t kBufferSize = 1024 * 1024;

  // Null when the thread or its events cannot be created.
  static WinInetCallThread *Start(const WinInetApi &api);

  // Each returns false when the call was given up: cancel seen in *flags, or no answer within
  // the stall limit. The thread is then no longer usable: the caller closes the handle the call
  // was using (which ends it where the system allows) and calls Quit().
  // *request is null when WinINet failed, with its error in *error.
  bool OpenUrl(HINTERNET session, const std::string &url, const std::string &headers,
               const std::atomic<uint32_t> *flags, HINTERNET *request, uint32_t *error);
  // InternetQueryDataAvailable, then InternetReadFile of what is available or want bytes,
  // whichever is more, and at most limit (itself at most kBufferSize); *got 0 at the end. *ok is
  // what WinINet said.
  bool Read(HINTERNET request, uint32_t want, uint32_t limit, const std::atomic<uint32_t> *flags,
            bool *ok, uint32_t *got);
  const uint8_t *data() const { return buffer_; }

  // Lets go of the thread: an idle one ends now, a busy one after its call.
  void Quit();

private:
  enum class Op { OpenUrl, Read };

  explicit WinInetCallThread(const WinInetApi &api);
  ~WinInetCallThread();
  static DWORD WINAPI Main(LPVOID self);
  void Run();
  void Perform();
  bool Call(const std::atomic<uint32_t> *flags);
  void Release();

  const WinInetApi &api_;
  HANDLE go_ = nullptr;   // auto-reset: a call is set up
  HANDLE done_ = nullptr; // auto-reset: its results are in
  LONG refs_ = 2;         // the worker's and the thread's
  LONG quit_ = 0;
  uint8_t *buffer_ = nullptr;

  Op op_ = Op::Read;
  HINTERNET handle_ = nullptr;
  std::string url_, headers_;
  uint32_t want_ = 0;
  uint32_t limit_ = 0;
  // A request opened for a call given up is closed by the thread; taken by exchange.
  HINTERNET opened_ = nullptr;
  BOOL ok_ = FALSE;
  DWORD got_ = 0;
  DWORD error_ = 0;
};
