// The command line of "tessara-pack pack".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "packer/pack_status.h"

// "--carry AppN=FILE": prerequisite N's downloaded setup, stored in the setup.
struct OfflinePrereq {
  uint32_t app = 0;
  std::string path;
};

struct PackOptions {
  std::string stub;
  std::string msi;
  std::vector<std::string> cabinets;
  std::vector<std::string> files;
  std::string config;
  std::vector<std::string> prerequisites;
  std::vector<OfflinePrereq> offlinePrereqs;
  // Language files (packer/language/language_file.h), each stored as its language's table.
  std::vector<std::string> languages;
  std::string output;
  std::string productName;
  bool hasProductName = false;
  // The vendor's face: an .ico for icon 128 and version-resource strings; empty when not given.
  std::string icon;
  std::string company;
  std::string fileVersion;
  std::string description;
  bool externalFiles = false;
  bool hasPrerequisitesFlag = false;
  bool replace = false;
};

// Arguments after the word "pack" (or all of them when it was left out).
PackStatus ParsePackOptions(const std::vector<std::string> &args, PackOptions *options);
