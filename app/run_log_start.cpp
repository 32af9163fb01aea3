#include "app/run_log_start.h"

#include <windows.h>

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
  std::string path;
  if (beside) {
    path.assign(named, 0, name);
  } else {
    char temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) {
      return;
    }
    path.assign(temp, length);
  }
  const size_t stem = (dot == std::string::npos ? named.size() : dot) - name;
  if (stem == 0) {
    path.append("setup");
  } else {
    path.append(named, name, stem);
  }
  const std::string stamp = runlog::Stamp();
  path.append("_").append(stamp).append(".log");
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
  runlog::Line("Setup %, % bytes, version %, started % UTC",
               {modulePath.c_str(), runlog::Num(static_cast<uint32_t>(size)).text, version.c_str(),
                stamp.c_str()});
  runlog::Line("Command line: %", {commandLine.c_str()});
  runlog::Line("User interface: %", {kLevels[static_cast<int>(options.uiLevel)]});
}
