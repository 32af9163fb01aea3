// The product name from an executable's US-English version strings.
#pragma once
#include <string>

// On success *pathInOut (the executable's path) is replaced by the product name when the
// version block has one; true once the block was read, with or without the name.
bool ReadProductName(std::string *pathInOut);
