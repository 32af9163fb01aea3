// HttpSession over WinINet, bound at run time from the system folder (never linked, so a
// wininet.dll planted beside the setup is not loaded).
#pragma once
#include <memory>

#include "download/http_transport.h"

// InternetOpenA(agent, INTERNET_OPEN_TYPE_PRECONFIG); null when wininet.dll or the session
// cannot be had.
std::unique_ptr<HttpSession> OpenWinInetSession(const char *agent);
