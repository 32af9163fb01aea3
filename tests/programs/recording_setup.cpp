// Stands in for a prerequisite's setup, and for the installer registered for .msi files, in
// the end-to-end tests. Each start appends one line to a record:
// - by default to C:\setup-record.txt: its arguments, then " | run:" and the data of every
//   value in the current user's Run key (" | run: none" when there is none), so a test sees the
//   restart value as it was while this setup ran;
// - when the environment variable TESSARA_SETUP_RECORD names a file, to that file:
//     <own file name>|<what followed the program name>|<launch window's setup name or ->
//   where the middle part is "<none>" when nothing at all followed, else the raw text in
//   brackets (so "[]" would be an empty parameter string). When TESSARA_SETUP_HOLD equals its
//   own file name, and this is its first start recorded in that file, it then waits for the
//   event "TessaraSetupRelease" before it goes on.
// Arguments it acts on:
//   /install=<Name>:<Version>  writes HKLM\Software\Tessara Tests\<Name>, value Version
//   /hang                      never ends (a setup that restarts the machine)
//   /exit=<n>                  ends with exit code n
//   a first argument ending in .msi: runs msiexec /i on it with the remaining arguments,
//   waits, and ends with msiexec's exit code.
// The record is UTF-8: a path the ANSI code page cannot spell (a folder of such a name, the
// restart value that names it) is recorded as it is.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t *text) {
  char out[8192] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string &text) {
  std::wstring out(text.size() + 1, L'\0');
  out.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.c_str(),
                                                       static_cast<int>(text.size()), &out[0],
                                                       static_cast<int>(out.size()))));
  return out;
}

// The whole command line, in UTF-8.
const std::string &CommandLine() {
  static const std::string line = Utf8(::GetCommandLineW());
  return line;
}

std::vector<std::string> SplitArguments(const char *line) {
  std::vector<std::string> out;
  const char *p = line;
  while (*p != '\0') {
    while (*p == ' ' || *p == '\t') {
      ++p;
    }
    if (*p == '\0') {
      break;
    }
    std::string word;
    bool quoted = false;
    while (*p != '\0' && (quoted || (*p != ' ' && *p != '\t'))) {
      if (*p == '"') {
        quoted = !quoted;
      } else {
        word += *p;
      }
      ++p;
    }
    out.push_back(word);
  }
  return out;
}

// The command line after the program's own name, quoted or not, as it came.
const char *AfterProgramName(const char *line) {
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

// The same without the blanks in front.
const char *Arguments() {
  const char *p = AfterProgramName(CommandLine().c_str());
  while (*p == ' ' || *p == '\t') {
    ++p;
  }
  return p;
}

std::string RunValues() {
  HKEY run = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_QUERY_VALUE, &run) != ERROR_SUCCESS) {
    return "no key";
  }
  std::string out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[2048];
    DWORD nameSize = 2048;
    wchar_t data[4096] = {};
    DWORD dataSize = sizeof(data) - sizeof(wchar_t);
    if (::RegEnumValueW(run, i, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE *>(data),
                        &dataSize) != ERROR_SUCCESS) {
      break;
    }
    data[dataSize / sizeof(wchar_t)] = 0;
    if (!out.empty()) {
      out += " ; ";
    }
    out += Utf8(data);
  }
  ::RegCloseKey(run);
  return out.empty() ? "none" : out;
}

void Install(const std::string &what) {
  const size_t colon = what.find(':');
  const std::string key = "Software\\Tessara Tests\\" + what.substr(0, colon);
  const std::string version = colon == std::string::npos ? "" : what.substr(colon + 1);
  HKEY handle = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) == ERROR_SUCCESS) {
    ::RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version.c_str()),
                     static_cast<DWORD>(version.size() + 1));
    ::RegCloseKey(handle);
  }
}

// The name the launch window shows, read without a message (its thread may be busy).
std::string LaunchWindowName() {
  HWND window = ::FindWindowA("#32770", "Launching PreRequisites");
  if (window == nullptr) {
    return "-";
  }
  WCHAR wide[256] = {};
  ::InternalGetWindowText(::GetDlgItem(window, 1018), wide, 256);
  return Utf8(wide);
}

// Appends this start's line to C:\setup-record.txt; false when it cannot be written.
bool RecordWithRunValues(const char *arguments) {
  FILE *record = std::fopen("C:\\setup-record.txt", "ab");
  if (record == nullptr) {
    return false;
  }
  std::fprintf(record, "%s | run: %s\n", arguments, RunValues().c_str());
  std::fclose(record);
  return true;
}

// Appends this start's line to recordPath, then holds when TESSARA_SETUP_HOLD names this
// program and it has not been started before; false when the record cannot be written.
bool RecordWithLaunchWindow(const char *recordPath) {
  wchar_t wide[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, wide, MAX_PATH);
  const std::string path = Utf8(wide);
  const std::string self = path.substr(path.rfind('\\') + 1);
  const std::string rest = AfterProgramName(CommandLine().c_str());
  const std::string args = rest.empty() ? "<none>" : "[" + rest + "]";

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
    return false;
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
  return true;
}

bool EndsWith(const std::string &s, const char *tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

} // namespace

int main() {
  const char *arguments = Arguments();
  const std::vector<std::string> words = SplitArguments(arguments);
  const char *recordPath = std::getenv("TESSARA_SETUP_RECORD");
  if (!(recordPath != nullptr ? RecordWithLaunchWindow(recordPath)
                              : RecordWithRunValues(arguments))) {
    return 1;
  }

  int exitCode = 0;
  bool hang = false;
  for (const std::string &word : words) {
    if (word.compare(0, 9, "/install=") == 0) {
      Install(word.substr(9));
    } else if (word == "/hang") {
      hang = true;
    } else if (word.compare(0, 6, "/exit=") == 0) {
      exitCode = std::atoi(word.c_str() + 6);
    }
  }
  if (!words.empty() && EndsWith(words[0], ".msi")) {
    // The real installer, with the parameters the setup handed over.
    const char *rest = arguments;
    if (*rest == '"') {
      rest = std::strchr(rest + 1, '"');
      rest = rest == nullptr ? "" : rest + 1;
    } else {
      rest += words[0].size();
    }
    std::wstring command =
        Wide("C:\\windows\\system32\\msiexec.exe /i \"" + words[0] + "\"" + rest);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
      return 1601;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    exitCode = static_cast<int>(code);
  }
  if (hang) {
    ::Sleep(INFINITE);
  }
  return exitCode;
}
