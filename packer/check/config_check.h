// The configuration check for vendors: "tessara-pack check" and the check run while packing.
#pragma once
#include <string>
#include <vector>

// "tessara-pack check <ini> [<setup.exe>]": arguments after the word "check". Returns the exit
// code.
int RunCheckCommand(const std::vector<std::string> &args);

// Runs the same check on a configuration about to be packed; setupEntryNames are the names of
// the prerequisite setups the setup will carry. Prints findings to stderr; false on errors.
bool CheckConfigurationForPack(const std::string &iniPath,
                               const std::vector<std::string> &setupEntryNames);
// The same on the configuration's text as it will be stored (label names it in messages). A
// carried setup that no prerequisite names draws a warning: it would never run.
bool CheckConfigurationTextForPack(const std::string &label, const std::string &text,
                                   const std::vector<std::string> &setupEntryNames);
