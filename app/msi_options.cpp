#include "app/msi_options.h"

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

} // namespace

MsiOptions ParseMsiOptions(const std::string &commandLine) {
  MsiOptions options;
  const char *const start = commandLine.c_str();
  bool quoted = false;
  // Byte by byte: no trail byte of a double-byte character is a blank, a quote, "/" or "-".
  for (const char *p = start; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    }
    if (quoted || (p != start && !OneOf(p[-1], " \t")) || !OneOf(*p, "/-")) {
      continue;
    }
    // The option's name in lower case, up to a blank; a longer one than 7 is none of ours.
    char name[8] = {};
    size_t length = 0;
    for (++p; *p != '\0' && !OneOf(*p, " \t"); ++p, ++length) {
      if (length < 7) {
        name[length] = static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p + ('a' - 'A') : *p);
      }
    }
    if (name[0] == 'l') {
      // Every option of Windows Installer that starts with an l names the log: /l<modes>, /log.
      // FILE follows after blanks, in quotes when it holds blanks.
      const char *file = p;
      while (*file == ' ' || *file == '\t') {
        ++file;
      }
      const char end = *file == '"' ? '"' : ' ';
      file += end == '"' ? 1 : 0;
      const char *stop = file;
      while (*stop != '\0' && *stop != end && (end == '"' || *stop != '\t')) {
        ++stop;
      }
      // Built and moved in: assigning into the existing string would bring a copy of the
      // library's whole replace routine.
      options.logFile = std::string(file, stop);
    }
    // "quiet", "passive", or "q", a kind letter (n, b, r or f; none means n) and only the
    // modifiers +, - and !.
    char kind = length < 8 && name[0] == 'q' ? 'n' : '\0';
    for (size_t i = 1; i < length && kind != '\0'; ++i) {
      if (i == 1 && OneOf(name[1], "nbrf")) {
        kind = name[1];
      } else if (!OneOf(name[i], "+-!")) {
        kind = '\0';
      }
    }
    if (Same(name, "quiet") || Same(name, "passive")) {
      kind = name[0] == 'q' ? 'n' : 'b';
    }
    if (kind != '\0') {
      options.uiLevel = kind == 'n' ? UiLevel::None : kind == 'f' ? UiLevel::Full : UiLevel::Basic;
    }
    if (*p == '\0') {
      break;
    }
  }
  return options;
}
