// The options the setup reads from its own command line: Windows Installer's user interface
// level and log file (the line still goes to Windows Installer with them), and the setup's own
// "/lang:", which it takes out.
#pragma once
#include <string>

enum class UiLevel {
  Full,  // no option, /qf: as a person at the keyboard
  Basic, // /qb, /qr, /passive: progress only, no wizard, no questions, no boxes
  None,  // /q, /qn, /quiet: no window and no box at all
};

struct MsiOptions {
  // The level the last UI option names.
  UiLevel uiLevel = UiLevel::Full;
  // FILE of the last "/log FILE" or "/l<modes> FILE" (quotes removed); empty when absent.
  std::string logFile;
  // The first "/lang:<id>": the Windows language id it names (its leading decimal digits; 0
  // when there are none or they pass 65535), and where the argument and the blanks after it
  // lie in the line, to be taken out before the line goes to the package.
  uint16_t language = 0;
  size_t languageAt = 0;
  size_t languageEnd = 0;
};

// Options spelt as msiexec spells them, one argument each (app/command_line.h): "/" or "-", any
// case, the UI options with their modifiers +, - and !; the log's FILE is the next argument, or
// a quoted part glued to the option (/l*v"C:\my logs\setup.log"). "/lang:" is spelt so too.
MsiOptions ParseMsiOptions(const std::string &commandLine);
