#include "app/command_line.h"

#include "base/file.h"

// Byte by byte: in UTF-8 no byte of a longer character is a blank, a quote or a backslash.

std::string ArgumentsAfterProgramName(const std::string &fullCommandLine) {
  size_t i = 0;
  const size_t n = fullCommandLine.size();
  if (n > 0 && fullCommandLine[0] == '"') {
    size_t close = fullCommandLine.find('"', 1);
    i = close == std::string::npos ? n : close + 1;
  } else {
    while (i < n && fullCommandLine[i] != ' ' && fullCommandLine[i] != '\t') {
      ++i;
    }
  }
  while (i < n && (fullCommandLine[i] == ' ' || fullCommandLine[i] == '\t')) {
    ++i;
  }
  return fullCommandLine.substr(i);
}

std::string ParseExtractOption(const std::string &commandLine) {
  // A plain array: a static string would cost a guard and a destructor at exit.
  static const char kOption[] = "/extract:";
  std::string value;
  const size_t at = commandLine.find(kOption, 0, sizeof kOption - 1);
  if (at == std::string::npos || commandLine.size() - at < sizeof kOption + 1) {
    return value;
  }
  size_t start = at + sizeof kOption - 1;
  char terminator = ' ';
  if (commandLine[start] == '"') {
    terminator = '"';
    ++start;
  }
  // Without a terminator the value runs to the end (npos - start is beyond it).
  value = commandLine.substr(start, commandLine.find(terminator, start) - start);
  // An empty quoted value names no folder: treat it as no option rather than the root "\".
  if (!value.empty()) {
    sys::EnsureTrailingBackslash(&value);
  }
  return value;
}
