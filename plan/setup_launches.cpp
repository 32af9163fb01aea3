#include "plan/setup_launches.h"

#include <utility>

#include "archive/sfx_archive.h"
#include "base/file.h"
#include "download/file_name_from_url.h"

namespace {

bool Contains(const base::StringList &names, const std::string &name) {
  for (const std::string &n : names) {
    if (n == name) {
      return true;
    }
  }
  return false;
}

// True when the archive's own, complete copy of the setup lies in the extraction folder. A
// setup whose files lie beside it (external files) runs its setups from there, as it runs its
// package, whether or not it also carries them.
bool ExtractSetup(SfxArchive &archive, const std::string &name, base::StringList *badExtractions) {
  if ((archive.flags() & kExternalFiles) != 0) {
    return IsSafeEntryName(name) && sys::FileExists(archive.extractFolder() + name);
  }
  const int index = archive.FindEntry(name);
  if (index < 0 || Contains(*badExtractions, name)) {
    return false;
  }
  if (archive.ExtractByName(name) == kSetupOk) {
    return true;
  }
  // A copy cut short is marked extracted all the same, and a later request would report it
  // written: remember it. A file that could not be created at all may be retried.
  if (archive.isExtracted(static_cast<size_t>(index))) {
    badExtractions->push_back(name);
  }
  return false;
}

} // namespace

base::ObjectVector<SetupLaunch> BuildSetupLaunches(SfxArchive &archive,
                                                   const PrerequisiteList &list,
                                                   const base::RecordVector<PrereqAction> &actions,
                                                   const std::string &downloadFolder,
                                                   base::StringList *badExtractions) {
  base::ObjectVector<SetupLaunch> launches;
  const size_t count = actions.size() < list.count() ? actions.size() : list.count();
  for (size_t i = 0; i < count; ++i) {
    const Prerequisite &prerequisite = list.prerequisite(i);
    SetupLaunch launch;
    PrereqAction action = actions[i];
    if (action == PrereqAction::Failed) {
      // Run again from where it ran: the archive's copy or the download.
      action = prerequisite.sourceKind == SourceKind::SetupFile ? PrereqAction::Install
                                                                : PrereqAction::AlreadyDownloaded;
    }
    switch (action) {
    case PrereqAction::Install: {
      // Named in the ANSI code page, as the archive's entries are; both are path text here.
      const std::string name = sys::PathFromAnsi(prerequisite.source);
      if (!ExtractSetup(archive, name, badExtractions)) {
        continue;
      }
      launch.path = archive.extractFolder() + name;
      break;
    }
    case PrereqAction::Downloaded:
    case PrereqAction::AlreadyDownloaded:
      // The downloader never stores such a name, so nothing of ours can lie there.
      if (!UsableDownloadPath(downloadFolder, prerequisite.source, &launch.path)) {
        continue;
      }
      break;
    default:
      continue;
    }
    launch.parameters = sys::PathFromAnsi(prerequisite.commandLine);
    launch.name = prerequisite.name;
    launch.prereqIndex = i;
    launches.push_back(std::move(launch));
  }
  return launches;
}
