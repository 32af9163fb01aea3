#include "app/run_log_start.h"

#include <windows.h>

#include <cstring>

#include "base/file.h"
#include "base/run_log.h"
#include "base/text.h"
#include "base/win/version_api.h"

void StartRunLog(const std::string &modulePath, const std::string &commandLine,
                 const MsiOptions &options) {
  const bool beside = !options.logFile.empty();
  const std::string &named = beside ? options.logFile : modulePath;
  // The name after the last backslash, up to its last dot: whole characters, since a trail
  // byte may be a backslash.
  size_t name = 0;
  size_t dot = std::string::npos;
  for (size_t i = 0; i < named.size(); i = text::NextChar(named, i)) {
    if (named[i] == '\\') {
      name = i + 1;
      dot = std::string::npos;
    } else if (named[i] == '.') {
      dot = i;
    }
  }
  // Folder, name, "_", the time and ".log": at most 260 + 260 + 24 bytes.
  char path[2 * MAX_PATH + 32];
  size_t length = name;
  if (beside) {
    std::memcpy(path, named.data(), name <= MAX_PATH ? name : 0);
  } else {
    length = ::GetTempPathA(MAX_PATH + 1, path);
  }
  const size_t stem = (dot == std::string::npos ? named.size() : dot) - name;
  if ((!beside && length == 0) || length > MAX_PATH || stem > MAX_PATH) {
    return;
  }
  std::memcpy(path + length, stem > 0 ? named.data() + name : "setup", stem > 0 ? stem : 5);
  length += stem > 0 ? stem : 5;
  char stamp[24];
  runlog::Stamp(stamp);
  path[length] = '_';
  std::memcpy(path + length + 1, stamp, sizeof stamp);
  std::memcpy(path + length + 1 + std::strlen(stamp), ".log", 5);
  if (!runlog::Open(path)) {
    return;
  }
  uint64_t size = 0;
  sys::File self;
  if (self.OpenRead(modulePath)) {
    self.GetSize(&size);
  }
  static const char *const kLevels[] = {"full", "basic", "none"};
  std::string version;
  win::VersionApi().ReadString(modulePath, "FileVersion", &version);
  runlog::Line(
      "Setup %, % bytes, version %, started % UTC",
      {modulePath.c_str(), runlog::Num(static_cast<uint32_t>(size)).text, version.c_str(), stamp});
  runlog::Line("Command line: %", {commandLine.c_str()});
  runlog::Line("User interface: %", {kLevels[static_cast<int>(options.uiLevel)]});
}
