// Stands in for a prerequisite's setup: appends one line to the file named by the environment
// variable TESSARA_SETUP_RECORD and ends with exit code 0. The line is
//   <own file name>|<what followed the program name>|<launch window's setup name or ->
// where the middle part is "<none>" when nothing at all followed, else the raw text in
// brackets (so "[]" would be an empty parameter string). When TESSARA_SETUP_HOLD equals its
// own file name, and this is its first start recorded in the file, it then waits for the
// event "TessaraSetupRelease" before it ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The command line after the program's own name, quoted or not, as it came.
std::string AfterProgramName(const char *line) {
  const char *p = line;
  if (*p == '"') {
    p = std::strchr(p + 1, '"');
    p = p == nullptr ? line + std::strlen(line) : p + 1;
  } else {
    while (*p != '\0' && *p != ' ' && *p != '\t') {
      ++p;
    }
  }
  return p;
}

// The name the launch window shows, read without a message (its thread may be busy).
std::string LaunchWindowName() {
  HWND window = ::FindWindowA("#32770", "Launching PreRequisites");
  if (window == nullptr) {
    return "-";
  }
  WCHAR wide[256] = {};
  ::InternalGetWindowText(::GetDlgItem(window, 1018), wide, 256);
  char text[512] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return text;
}

} // namespace

int main() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char *slash = std::strrchr(path, '\\');
  const std::string self = slash != nullptr ? slash + 1 : path;
  const std::string rest = AfterProgramName(::GetCommandLineA());
  const std::string args = rest.empty() ? "<none>" : "[" + rest + "]";

  const char *recordPath = std::getenv("TESSARA_SETUP_RECORD");
  if (recordPath == nullptr) {
    return 2;
  }
  bool startedBefore = false;
  if (FILE *earlier = std::fopen(recordPath, "rb")) {
    char line[1024];
    const std::string prefix = self + "|";
    while (std::fgets(line, sizeof line, earlier) != nullptr) {
      startedBefore = startedBefore || std::strncmp(line, prefix.c_str(), prefix.size()) == 0;
    }
    std::fclose(earlier);
  }
  FILE *record = std::fopen(recordPath, "ab");
  if (record == nullptr) {
    return 1;
  }
  std::fprintf(record, "%s|%s|%s\n", self.c_str(), args.c_str(), LaunchWindowName().c_str());
  std::fclose(record);

  const char *hold = std::getenv("TESSARA_SETUP_HOLD");
  if (hold != nullptr && self == hold && !startedBefore) {
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, "TessaraSetupRelease");
    if (release != nullptr) {
      ::WaitForSingleObject(release, INFINITE);
      ::CloseHandle(release);
    }
  }
  return 0;
}
