// The command line of "tessara-pack pack".
#pragma once
#include <string>
#include <vector>

#include "tools/pack_status.h"

struct PackOptions {
  std::string stub;
  std::string msi;
  std::vector<std::string> cabinets;
  std::vector<std::string> files;
  std::string config;
  std::vector<std::string> prerequisites;
  std::string output;
  std::string productName;
  bool hasProductName = false;
  bool externalFiles = false;
  bool hasPrerequisitesFlag = false;
  bool replace = false;
};

// Arguments after the word "pack" (or all of them when it was left out).
PackStatus ParsePackOptions(const std::vector<std::string> &args, PackOptions *options);
