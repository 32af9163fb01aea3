// The plan of one run: the current action of every prerequisite, and the downloads that
// carry out the Download actions.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "download/download_batch.h"
#include "prereq/prerequisite_list.h"

class SfxArchive;

class PrereqPlan {
public:
  // Copies the list's decisions, takes the executable's folder as the download folder and
  // looks for complete downloads there.
  PrereqPlan(const SfxArchive &archive, const PrerequisiteList &list,
             DownloadPlatform &platform = DefaultDownloadPlatform());
  PrereqPlan(const PrereqPlan &) = delete;
  PrereqPlan &operator=(const PrereqPlan &) = delete;

  // Stores the folder with a trailing backslash, then runs refreshDownloaded.
  void setDownloadFolder(const std::string &path);
  // Download <-> AlreadyDownloaded by what lies in the download folder: a file with the URL's
  // name and exactly ExactSize bytes (and, when a Sha256 is given, that hash).
  void refreshDownloaded();
  // Fetches every Download prerequisite. Interactive: 0 all attempted, 1 not started,
  // 4 aborted. Silent: 0 or 5, and the actions are updated (ApplyDownloadResults).
  int downloadAll(bool silent);
  // Ok gives Downloaded, every other status DownloadFailed. The interactive caller applies it
  // after a result of 0.
  void ApplyDownloadResults();

  PrereqAction action(size_t index) const { return actions_[index]; }
  void setAction(size_t index, PrereqAction action) { actions_[index] = action; }
  PrereqAction decision(size_t index) const { return list_.decision(index); }
  const std::string &folder() const { return batch_.folder(); }
  size_t count() const { return actions_.size(); }

  const PrerequisiteList &list() const { return list_; }
  const SfxArchive &archive() const { return archive_; }
  DownloadBatch &batch() { return batch_; }

private:
  bool IsCompleteDownload(const Prerequisite &prerequisite) const;

  std::vector<PrereqAction> actions_;
  const PrerequisiteList &list_;
  const SfxArchive &archive_;
  DownloadBatch batch_;
};
