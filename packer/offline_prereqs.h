// Offline setups: "--carry AppN=FILE" stores a downloaded prerequisite's setup in the archive
// and makes the stored configuration name it as a SetupFile, so the setup needs no network.
#pragma once
#include <string>
#include <vector>

#include "packer/pack_options.h"
#include "packer/pack_status.h"

// The configuration text as the setup stores it. Without --carry it is the file as given; with
// it, each carried prerequisite must read from a Url, and its file must be a Windows program or
// package matching the prerequisite's ExactSize and Sha256 when they are given. Every other
// prerequisite must read back exactly as before.
PackStatus BuildStoredConfiguration(const PackOptions &options, std::string *stored);

// text with the first section named section (case ignored) changed: its first Url line becomes
// "SetupFile=name" and its SetupFile lines are dropped. Line ends are kept. False when there is
// no such section or it has no Url line.
bool RewriteToSetupFile(const std::string &text, const std::string &section,
                        const std::string &name, std::string *out);
