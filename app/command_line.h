// The bootstrapper's command line: the part after its own name, its arguments, and the
// extract-only option. The command line is path text (UTF-8, base/file.h).
#pragma once
#include <cstddef>
#include <string>

// The command line after the program's own name (quoted: up to its closing quote; unquoted:
// up to the first blank), with the blanks after the name skipped. Trailing blanks stay.
std::string ArgumentsAfterProgramName(const std::string &fullCommandLine);

// One argument, read as Windows Installer reads the same line, which gets it next: blanks
// outside quotes separate arguments, and a quote anywhere in an argument opens or closes a
// quoted part. A backslash is itself, also before a quote: "C:\Program Files\App\" /qn is a
// folder and a switch, as msiexec sees them (the C runtime's rules would take the quote for
// a character and /qn for part of the folder).
struct CommandArgument {
  std::string text;                    // without its quotes
  size_t quotedAt = std::string::npos; // where in text its first quoted part begins
};

// Reads the argument at *pos (blanks before it skipped) and moves *pos past it; false when
// only blanks remain. Switches are matched on these, so that quoted text is never taken for
// a switch and never hides the switches after it.
bool NextArgument(const std::string &commandLine, size_t *pos, CommandArgument *argument);

// The folder of "/extract:<folder>" ending with a backslash, or empty when the option is absent
// or unusable. The option is case-sensitive and starts an argument (the first such decides); its
// value is the rest of that argument, so a folder with blanks is quoted; fewer than two
// characters are ignored.
std::string ParseExtractOption(const std::string &commandLine);

// The value of a setup option such as "/source:<value>" (name given with its slash and colon),
// also spelt with "-" and in any case. It starts an argument and its name is never quoted; a
// value with blanks is quoted. The first such argument is taken out of *commandLine, so that
// Windows Installer, which gets the rest, never sees it (a line left with blanks only becomes
// empty). Empty when absent.
std::string TakeSetupOption(std::string *commandLine, const char *name);
