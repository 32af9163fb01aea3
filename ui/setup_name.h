// The name a setup goes by in its window titles.
#pragma once
#include <string>

// The product name of the setup's US-English version strings, or setupPath when they have none
// (both path text, UTF-8); false, with *name set to that path, when the version block cannot be
// read.
bool ProductNameOrPath(const std::string &setupPath, std::string *name);

// The window title of a setup of that name: "<name> Setup", in the user's language.
std::string SetupTitle(const std::string &name);
