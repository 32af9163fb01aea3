// "tessara-pack list" and "tessara-pack extract": an existing setup read as the setup reads it.
#pragma once
#include <string>
#include <vector>

#include "packer/pack_status.h"

// Footer fields, offsetDelta, flags by name and one line per entry, as printed by "list".
PackStatus ListSetup(const std::string &setupPath, std::string *listing);
// Writes every entry into folder (made when missing); *report gets one line per file.
PackStatus ExtractSetup(const std::string &setupPath, const std::string &folder,
                        std::string *report);

// Arguments after the word "list" / "extract". Return the exit code.
int RunListCommand(const std::vector<std::string> &args);
int RunExtractCommand(const std::vector<std::string> &args);

const char *EntryTypeName(uint32_t type);
