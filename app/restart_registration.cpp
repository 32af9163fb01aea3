#include "app/restart_registration.h"

#include <windows.h>

#include "base/win/reg_key.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Present whatever the length of its data: asked without a buffer, a value answers with
// success or "more data", so a long path is found, and so written once and always removed.
bool IsValuePresent(HKEY key, const std::string &name) {
  const LONG result = ::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr);
  return result == ERROR_SUCCESS || result == ERROR_MORE_DATA;
}

} // namespace

std::string RestartCommand(const std::string &path) { return "\"" + path + "\""; }

bool RegisterRestart(const std::string &path) {
  win::RegKey run;
  // Only what is used: a presence test and a write.
  if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS) {
    return false;
  }
  if (!IsValuePresent(run.Get(), path)) {
    const std::string data = RestartCommand(path);
    ::RegSetValueExA(run.Get(), path.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE *>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
  }
  return true;
}

bool UnregisterRestart(const std::string &path) {
  win::RegKey run;
  if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS) {
    return false;
  }
  if (IsValuePresent(run.Get(), path)) {
    ::RegDeleteValueA(run.Get(), path.c_str());
  }
  return true;
}
