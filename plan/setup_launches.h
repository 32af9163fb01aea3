// The setups of one install pass: which file each scheduled prerequisite runs, from the archive
// or from the download folder.
#pragma once
#include <string>

#include "base/object_vector.h"
#include "base/record_vector.h"
#include "install/setup_launch.h"
#include "prereq/prerequisite_list.h"

class SfxArchive;

// In configuration order: Install extracts its SetupFile from the archive (now, before any
// setup starts) and runs it from the extraction folder; Downloaded and AlreadyDownloaded run
// the URL's file from the download folder; Failed runs again whichever its source gives;
// every other action runs nothing.
// An Install whose SetupFile names no entry, whose extraction fails, or whose name is listed in
// *badExtractions is left out: a file of that name already in the folder is not ours. A name
// whose copy was cut short is added to *badExtractions, because the archive marks even a short
// copy extracted and would report it written on the next request.
base::ObjectVector<SetupLaunch> BuildSetupLaunches(SfxArchive &archive,
                                                   const PrerequisiteList &list,
                                                   const base::RecordVector<PrereqAction> &actions,
                                                   const std::string &downloadFolder,
                                                   base::StringList *badExtractions);
