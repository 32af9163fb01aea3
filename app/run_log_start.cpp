#include "app/run_log_start.h"

#include <windows.h>

#include "base/file.h"
#include "base/run_log.h"
#include "base/text.h"
#include "base/win/version_api.h"
#include "base/win/wide_text.h"

void StartRunLog(const std::string &modulePath, const std::string &commandLine,
                 const MsiOptions &options) {
  const bool beside = !options.logFile.empty();
  const std::string &named = beside ? options.logFile : modulePath;
  // The name after the last backslash, up to its last dot.
  const size_t slash = sys::LastSeparator(named);
  const size_t name = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = named.rfind('.');
  if (dot == std::string::npos || dot < name) {
    dot = named.size();
  }
  std::string folder = named.substr(0, name);
  if (!beside && !win::TempFolder(&folder)) {
    return;
  }
  char stamp[24];
  runlog::Stamp(stamp);
  const std::string_view stem =
      dot > name ? std::string_view(named.data() + name, dot - name) : std::string_view("setup");
  if (!runlog::Open(text::Concat({folder, stem, "_", stamp, ".log"}))) {
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
      "Setup %, % bytes, version $, started % UTC",
      {modulePath.c_str(), runlog::Num(static_cast<uint32_t>(size)).text, version.c_str(), stamp});
  runlog::Line("Command line: %", {commandLine.c_str()});
  runlog::Line("User interface: %", {kLevels[static_cast<int>(options.uiLevel)]});
}
