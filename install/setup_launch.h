// The setups of one install pass: which file each prerequisite runs, with what parameters, and
// the name the launch window shows for it.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "prereq/prerequisite_list.h"

class SfxArchive;

struct SetupLaunch {
  std::string path;       // full path of the setup file
  std::string parameters; // the prerequisite's CommandLine, verbatim; empty passes none
  std::string name;       // the prerequisite's name, shown while it runs
  size_t prereqIndex = 0; // the prerequisite it installs, for the outcome of the pass
};

// In configuration order: Install extracts its SetupFile from the archive (now, before any
// setup starts) and runs it from the extraction folder; Downloaded and AlreadyDownloaded run
// the URL's file from the download folder; every other action runs nothing.
// An Install whose SetupFile names no entry, whose extraction fails, or whose name is listed in
// *badExtractions is left out: a file of that name already in the folder is not ours. A name
// whose copy was cut short is added to *badExtractions, because the archive marks even a short
// copy extracted and would report it written on the next request.
std::vector<SetupLaunch> BuildSetupLaunches(SfxArchive &archive, const PrerequisiteList &list,
                                            const std::vector<PrereqAction> &actions,
                                            const std::string &downloadFolder,
                                            std::vector<std::string> *badExtractions);
