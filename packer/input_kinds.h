// What an input file's first bytes say it is, so that the packer refuses a text file named
// .msi, a cabinet that is none, or a prerequisite that Windows could not start.
#pragma once
#include <string>
#include <vector>

#include "packer/pack_plan.h"
#include "packer/pack_status.h"

enum class InputKind {
  kOther,
  kCompoundFile,   // a Windows Installer package (a compound document)
  kCabinet,        // "MSCF"
  kWindowsProgram, // an MZ header leading to a "PE" signature
};

InputKind KindOfHead(const std::string &head);
// The file's kind from its first bytes; kOther when it cannot be read.
InputKind KindOfFile(const std::string &path);

// The package, cabinets and prerequisite setups of a planned setup, each of its right kind.
PackStatus CheckInputKinds(const std::vector<PlannedEntry> &entries);
// A prerequisite's setup: a Windows program or a Windows Installer package.
PackStatus CheckPrerequisiteKind(const std::string &path, const std::string &role);
