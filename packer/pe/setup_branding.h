// The stub as it goes into a setup: recognised as a stub of this project that reads the
// archive version the packer writes, then given the vendor's icon and version strings by
// rewriting its resource section (the stub itself carries no room for them).
#pragma once
#include <cstdint>
#include <string>

#include "packer/pack_options.h"
#include "packer/pack_status.h"

// The stub's resource that says "a Tessara stub, reading archive version N".
constexpr char kStubMarkerName[] = "TESSARASTUB";
constexpr uint32_t kVersionTextRoom = 255; // characters of --company and --description

// Refuses a stub that is no 32-bit Windows GUI program, carries no marker or reads another
// archive version. stub holds the program part (an old archive already cut off); when the
// options ask for an icon or version strings it is replaced by the rewritten program.
PackStatus PrepareStub(const PackOptions &options, std::string *stub);

// "2.1.0.7" and shorter forms into four fields; false for anything else.
bool ParseFileVersion(const std::string &text, uint16_t parts[4]);
