// "tessara-pack hash <file>": prints the Sha256 line to paste into a prerequisite's section.
#pragma once
#include <string>
#include <vector>

// Arguments after the word "hash". Returns the exit code.
int RunHashCommand(const std::vector<std::string> &args);
