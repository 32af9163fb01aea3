#include "app/msi_options.h"

#include <cstring>
#include <utility>

#include "app/command_line.h"
#include "base/text.h"
#include "prereq/config_reader.h"

namespace {

// Whether set holds c (not the terminating zero).
bool OneOf(char c, const char *set) {
  for (; *set != '\0'; ++set) {
    if (*set == c) {
      return true;
    }
  }
  return false;
}

bool Same(const char *a, const char *b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

// Whether the option's name (lower case, after its "/" or "-") names the log: "log", or "l"
// followed only by Windows Installer's log modes.
bool IsLogOption(const char *name) {
  if (*name != 'l' || Same(name + 1, "og")) {
    return *name == 'l';
  }
  while (*++name != '\0') {
    if (!OneOf(*name, "iwearucmopvx+!*")) {
      return false;
    }
  }
  return true;
}

// The kind letter of a UI option ("quiet", "passive", or "q", a kind letter n, b, r or f, none
// meaning n, and only the modifiers +, - and !); '\0' for any other option.
char UiKind(const char *name) {
  if (Same(name, "quiet") || Same(name, "passive")) {
    return name[0] == 'q' ? 'n' : 'b';
  }
  if (name[0] != 'q') {
    return '\0';
  }
  char kind = 'n';
  const char *p = name + 1;
  if (OneOf(*p, "nbrf")) {
    kind = *p++;
  }
  for (; *p != '\0'; ++p) {
    if (!OneOf(*p, "+-!")) {
      return '\0';
    }
  }
  return kind;
}

} // namespace

MsiOptions ParseMsiOptions(const std::string &commandLine) {
  MsiOptions options;
  CommandArgument argument;
  bool fileFollows = false;
  for (size_t pos = 0, start = 0; NextArgument(commandLine, &pos, &argument); start = pos) {
    std::string &arg = argument.text;
    if (fileFollows) {
      // The argument after a log option is its file, whatever it reads like.
      options.logFile = std::move(arg);
      fileFollows = false;
      continue;
    }
    // The option's name in lower case, up to a quoted part; a longer one than 15 is none of
    // ours. An argument without "/" or "-" before its quoted part is no option.
    const size_t end = argument.quotedAt < arg.size() ? argument.quotedAt : arg.size();
    if (end > 16 || !OneOf(arg[0], "/-")) {
      continue;
    }
    char name[16] = {};
    for (size_t i = 1; i < end; ++i) {
      name[i - 1] = text::LowerAscii(arg[i]);
    }
    if (options.languageEnd == 0 && std::strncmp(name, "lang:", 5) == 0) {
      const uint32_t id = ParseConfigNumber(name + 5);
      options.language = static_cast<uint16_t>(id <= 0xFFFF ? id : 0);
      options.languageAt = commandLine.find_first_not_of(" \t", start);
      options.languageEnd = commandLine.find_first_not_of(" \t", pos);
      continue;
    }
    if (IsLogOption(name)) {
      // FILE is the quoted part glued to the option, or else the next argument.
      arg.erase(0, end);
      fileFollows = arg.empty();
      options.logFile = std::move(arg);
      continue;
    }
    // A UI option has no quoted part.
    const char kind = end == arg.size() ? UiKind(name) : '\0';
    if (kind != '\0') {
      options.uiLevel = kind == 'n' ? UiLevel::None : kind == 'f' ? UiLevel::Full : UiLevel::Basic;
    }
  }
  return options;
}
