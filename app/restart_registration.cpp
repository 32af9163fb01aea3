#include "app/restart_registration.h"

#include <windows.h>

#include "base/text_builder.h"
#include "base/win/reg_key.h"
#include "base/win/wide_text.h"

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
  // Name and data in UTF-16: the path may hold what the ANSI code page cannot spell.
  const win::WideText name(path);
  const LONG query = ::RegQueryValueExW(run.Get(), name.get(), nullptr, nullptr, nullptr, nullptr);
  const bool present = query == ERROR_SUCCESS || query == ERROR_MORE_DATA;
  if (registering && !present) {
    const win::WideText data(RestartCommand(path));
    ::RegSetValueExW(run.Get(), name.get(), 0, REG_SZ, reinterpret_cast<const BYTE *>(data.get()),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  } else if (!registering && present) {
    ::RegDeleteValueW(run.Get(), name.get());
  }
  return true;
}

} // namespace

std::string RestartCommand(const std::string &path) {
  return text::Builder().Add({"\"", path, "\""}).Take();
}

bool RegisterRestart(const std::string &path) { return UpdateRestartValue(path, true); }

bool UnregisterRestart(const std::string &path) { return UpdateRestartValue(path, false); }
