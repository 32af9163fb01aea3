#include "app/command_line.h"

#include <cstring>

#include "base/file.h"
#include "base/text.h"

// Byte by byte: in UTF-8 no byte of a longer character is a blank, a quote or a backslash.

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string ArgumentsAfterProgramName(const std::string &fullCommandLine) {
  size_t i = 0;
  const size_t n = fullCommandLine.size();
  if (n > 0 && fullCommandLine[0] == '"') {
    size_t close = fullCommandLine.find('"', 1);
    i = close == std::string::npos ? n : close + 1;
  } else {
    while (i < n && !IsBlank(fullCommandLine[i])) {
      ++i;
    }
  }
  while (i < n && IsBlank(fullCommandLine[i])) {
    ++i;
  }
  return fullCommandLine.substr(i);
}

bool NextArgument(const std::string &commandLine, size_t *pos, CommandArgument *argument) {
  const char *const line = commandLine.c_str();
  const char *p = line + *pos;
  while (IsBlank(*p)) {
    ++p;
  }
  const bool found = *p != '\0';
  std::string &out = argument->text;
  out.clear();
  argument->quotedAt = std::string::npos;
  bool quoted = false;
  for (; *p != '\0' && (quoted || !IsBlank(*p)); ++p) {
    if (*p != '"') {
      out += *p;
      continue;
    }
    if (!quoted && argument->quotedAt == std::string::npos) {
      argument->quotedAt = out.size();
    }
    quoted = !quoted;
  }
  *pos = static_cast<size_t>(p - line);
  return found;
}

std::string ParseExtractOption(const std::string &commandLine) {
  // A plain array: a static string would cost a guard and a destructor at exit.
  static const char kOption[] = "/extract:";
  CommandArgument argument;
  for (size_t pos = 0; NextArgument(commandLine, &pos, &argument);) {
    std::string &value = argument.text;
    // The option's own name is never quoted.
    if (argument.quotedAt < sizeof kOption - 1 ||
        value.compare(0, sizeof kOption - 1, kOption) != 0) {
      continue;
    }
    value.erase(0, sizeof kOption - 1);
    if (value.size() < 2) {
      value.clear();
    } else {
      sys::EnsureTrailingBackslash(&value);
    }
    return value;
  }
  return std::string();
}

std::string TakeSetupOption(std::string *commandLine, const char *name) {
  const size_t length = std::strlen(name);
  CommandArgument argument;
  for (size_t start = 0, pos = 0; NextArgument(*commandLine, &pos, &argument); start = pos) {
    std::string &text = argument.text;
    if (text[0] == '-') {
      text[0] = '/';
    }
    if (argument.quotedAt >= length && text::StartsWithNoCase(text, name)) {
      commandLine->erase(start, pos - start);
      pos = 0;
      // Nothing but blanks left is no command line.
      CommandArgument next;
      if (!NextArgument(*commandLine, &pos, &next)) {
        commandLine->clear();
      }
      return text.erase(0, length);
    }
  }
  return std::string();
}
