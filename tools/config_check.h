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
