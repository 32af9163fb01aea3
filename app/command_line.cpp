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
  size_t at = commandLine.find(kOption);
  if (at == std::string::npos) {
    return std::string();
  }
  size_t start = at + sizeof kOption - 1;
  if (commandLine.size() - start < 2) {
    return std::string();
  }
  char terminator = ' ';
  if (commandLine[start] == '"') {
    terminator = '"';
    ++start;
  }
  size_t end = commandLine.find(terminator, start);
  std::string value =
      commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
  // An empty quoted value names no folder: treat it as no option rather than the root "\".
  if (value.empty()) {
    return std::string();
  }
  sys::EnsureTrailingBackslash(&value);
  return value;
}
