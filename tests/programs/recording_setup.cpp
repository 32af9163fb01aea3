// Stands in for a prerequisite's setup, and for the installer registered for .msi files, in
// the end-to-end tests of the prerequisite phase. Each start appends one line to
// C:\setup-record.txt: its arguments, then " | run:" and the data of every value in the
// current user's Run key (" | run: none" when there is none), so a test sees the restart
// value as it was while this setup ran.
// Arguments it acts on:
//   /install=<Name>:<Version>  writes HKLM\Software\Tessara Tests\<Name>, value Version
//   /hang                      never ends (a setup that restarts the machine)
//   /exit=<n>                  ends with exit code n
//   a first argument ending in .msi: runs msiexec /i on it with the remaining arguments,
//   waits, and ends with msiexec's exit code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

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

// The command line after the program's own name.
const char *Arguments() {
  const char *p = ::GetCommandLineA();
  if (*p == '"') {
    p = std::strchr(p + 1, '"');
    p = p == nullptr ? "" : p + 1;
  } else {
    while (*p != '\0' && *p != ' ' && *p != '\t') {
      ++p;
    }
  }
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
    char name[2048];
    DWORD nameSize = sizeof(name);
    BYTE data[4096];
    DWORD dataSize = sizeof(data) - 1;
    if (::RegEnumValueA(run, i, name, &nameSize, nullptr, nullptr, data, &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    data[dataSize] = 0;
    if (!out.empty()) {
      out += " ; ";
    }
    out += reinterpret_cast<char *>(data);
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

bool EndsWith(const std::string &s, const char *tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && _stricmp(s.c_str() + s.size() - n, tail) == 0;
}

} // namespace

int main() {
  const char *arguments = Arguments();
  const std::vector<std::string> words = SplitArguments(arguments);
  FILE *record = std::fopen("C:\\setup-record.txt", "ab");
  if (record == nullptr) {
    return 1;
  }
  std::fprintf(record, "%s | run: %s\n", arguments, RunValues().c_str());
  std::fclose(record);

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
    std::string command = "C:\\windows\\system32\\msiexec.exe /i \"" + words[0] + "\"" + rest;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
