// HttpSession over WinINet. Its blocking calls give up once the cancel bit of *flags is set
// or a server stays silent too long, so neither the dialog nor a batch's end waits for the
// network.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "download/http_transport.h"

// InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG) with finite time-outs; null when
// wininet.dll or the session cannot be had.
std::unique_ptr<HttpSession> OpenWinInetSession(const char *agent,
                                                const std::atomic<uint32_t> *flags);
