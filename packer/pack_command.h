// "tessara-pack pack": builds a setup from the stub and the package's files.
#pragma once
#include <string>
#include <vector>

#include "packer/pack_options.h"
#include "packer/pack_status.h"

// Arguments after the word "pack". Prints a refusal to stderr; returns the exit code.
int RunPackCommand(const std::vector<std::string> &args);

// The whole pack for parsed options; *summary receives the line printed on success.
PackStatus Pack(const PackOptions &options, std::string *summary);
