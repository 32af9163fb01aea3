#include "app/restart_registration.h"

#include <windows.h>

#include "base/text.h"
#include "base/win/reg_key.h"

namespace {

// Writes (register) or deletes the value named path, each only when needed. A value counts as
// present whatever the length of its data: asked without a buffer, a value answers with
// success or "more data", so a long path is found, and so written once and always removed.
bool UpdateRestartValue(const std::string &path, bool registering) {
  win::RegKey run;
  // Opened, never created; only what is used: a presence test and a write or a delete.
  if (run.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
               KEY_QUERY_VALUE | KEY_SET_VALUE) != ERROR_SUCCESS) {
    return false;
  }
  const LONG query =
      ::RegQueryValueExA(run.Get(), path.c_str(), nullptr, nullptr, nullptr, nullptr);
  const bool present = query == ERROR_SUCCESS || query == ERROR_MORE_DATA;
  if (registering && !present) {
    const std::string data = RestartCommand(path);
    ::RegSetValueExA(run.Get(), path.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE *>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
  } else if (!registering && present) {
    ::RegDeleteValueA(run.Get(), path.c_str());
  }
  return true;
}

} // namespace

std::string RestartCommand(const std::string &path) { return text::Concat({"\"", path, "\""}); }

bool RegisterRestart(const std::string &path) { return UpdateRestartValue(path, true); }

bool UnregisterRestart(const std::string &path) { return UpdateRestartValue(path, false); }
