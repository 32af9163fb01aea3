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

// Whether every character of s is one of set's.
bool AllOf(const char *s, const char *set) {
  for (; *s != '\0'; ++s) {
    if (!OneOf(*s, set)) {
      return false;
    }
  }
  return true;
}

} // namespace

MsiOptions ParseMsiOptions(const std::string &commandLine) {
  MsiOptions options;
  const char *p = commandLine.c_str();
  bool quoted = false;
  // Byte by byte: no trail byte of a double-byte character is a blank, a quote, "/" or "-".
  for (; *p != '\0'; ++p) {
    const bool wordStart = p == commandLine.c_str() || p[-1] == ' ' || p[-1] == '\t';
    if (*p == '"') {
      quoted = !quoted;
    }
    if (quoted || !wordStart || (*p != '/' && *p != '-')) {
      continue;
    }
    // The option's name in lower case, up to a blank; a longer one is none of ours.
    std::string name;
    for (++p; *p != '\0' && *p != ' ' && *p != '\t'; ++p) {
      name.push_back(static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p + ('a' - 'A') : *p));
    }
    --p;
    if (name[0] == 'l') {
      // Every option of Windows Installer that starts with an l names the log: /l<modes>, /log.
      // FILE follows after blanks, in quotes when it holds blanks.
      const char *file = p + 1;
      while (*file == ' ' || *file == '\t') {
        ++file;
      }
      const bool inQuotes = *file == '"';
      file += inQuotes ? 1 : 0;
      options.logFile.clear();
      for (; *file != '\0' && (inQuotes ? *file != '"' : !OneOf(*file, " \t")); ++file) {
        options.logFile.push_back(*file);
      }
    }
    // "quiet", "passive", or "q", a kind letter (n, b, r or f; none means n) and modifiers.
    const bool hasKind = name.size() > 1 && OneOf(name[1], "nbrf");
    char kind = name[0] == 'q' && AllOf(name.c_str() + (hasKind ? 2 : 1), "+-!")
                    ? (hasKind ? name[1] : 'n')
                    : '\0';
    if (name == "quiet" || name == "passive") {
      kind = name[0] == 'q' ? 'n' : 'b';
    }
    if (kind != '\0') {
      options.uiLevel = kind == 'n' ? UiLevel::None : kind == 'f' ? UiLevel::Full : UiLevel::Basic;
    }
  }
  return options;
}
