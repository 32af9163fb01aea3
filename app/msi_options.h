// The Windows Installer options the setup reads from its own command line (which still goes
// to Windows Installer with them): the user interface level and the log file.
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
};

// Options spelt as msiexec spells them, one argument each (app/command_line.h): "/" or "-", any
// case, the UI options with their modifiers +, - and !; the log's FILE is the next argument, or
// a quoted part glued to the option (/l*v"C:\my logs\setup.log").
MsiOptions ParseMsiOptions(const std::string &commandLine);
