// The configuration check for vendors: "tessara-pack check" and the check run while packing.
#pragma once
#include <string>
#include <vector>

// "tessara-pack check <ini> [<setup.exe>]": arguments after the word "check". Returns the exit
// code.
int RunCheckCommand(const std::vector<std::string> &args);

// Runs the same check on the text of a configuration about to be packed, as it will be stored;
// setupEntryNames are the names of the prerequisite setups the setup will carry. A carried
// setup that no prerequisite names draws a warning: it would never run. Prints findings to
// stderr; false on errors.
bool CheckConfigurationTextForPack(const std::string &text,
                                   const std::vector<std::string> &setupEntryNames);
