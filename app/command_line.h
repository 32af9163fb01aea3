// The bootstrapper's command line: the part after its own name, and the extract-only option.
// The command line is path text (UTF-8, base/file.h).
#pragma once
#include <string>

// The command line after the program's own name (quoted: up to its closing quote; unquoted:
// up to the first blank), with the blanks after the name skipped. Trailing blanks stay.
std::string ArgumentsAfterProgramName(const std::string &fullCommandLine);

// The folder of "/extract:<folder>" ending with a backslash, or empty when the option is absent
// or unusable. The option is case-sensitive; a quoted value ends at the next quote, an
// unquoted one at the next space; fewer than two characters (or "") after the colon are ignored.
std::string ParseExtractOption(const std::string &commandLine);
