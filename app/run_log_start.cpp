#include "app/run_log_start.h"

#include <windows.h>

#include "base/file.h"
#include "base/run_log.h"
#include "base/text_builder.h"
#include "base/win/version_api.h"
#include "base/win/wide_text.h"

namespace {

const char *UiLevelName(UiLevel level) {
  switch (level) {
  case UiLevel::Full:
    return "full";
  case UiLevel::Basic:
    return "basic";
  case UiLevel::None:
    break;
  }
  return "none";
}

} // namespace

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
  const std::string stamp = runlog::Stamp();
  const std::string_view stem =
      dot > name ? std::string_view(named.data() + name, dot - name) : std::string_view("setup");
  if (!runlog::Open(text::Builder().Add({folder, stem, "_", stamp, ".log"}).Take())) {
    return;
  }
  uint64_t size = 0;
  sys::File self;
  if (self.OpenRead(modulePath)) {
    self.GetSize(&size);
  }
  std::string version;
  win::VersionApi().ReadString(modulePath, "FileVersion", &version);
  runlog::Line("Setup %, % bytes, version %, started % UTC", {modulePath, size, version, stamp});
  runlog::Line("Command line: %", {commandLine});
  runlog::Line("User interface: %", {UiLevelName(options.uiLevel)});
}
