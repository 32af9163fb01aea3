// The name a setup goes by in its window titles.
#pragma once
#include <string>

// The product name of the setup's US-English version strings, or setupPath (path text, shown in
// the ANSI code page) when they have none; false, with *name set to that path, when the version
// block cannot be read.
bool ProductNameOrPath(const std::string &setupPath, std::string *name);
