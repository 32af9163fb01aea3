// The plan of one run: the current action of every prerequisite, and the downloads that
// carry out the Download actions.
#pragma once
#include <cstddef>
#include <string>

#include "base/object_vector.h"
#include "base/record_vector.h"
#include "download/download_batch.h"
#include "install/install_platform.h"
#include "plan/hash_check_cache.h"
#include "plan/setup_outcome.h"
#include "prereq/prerequisite_list.h"

class PassWindows;
class SearchHost;
class SfxArchive;

class PrereqPlan {
public:
  // Copies the list's decisions, takes the executable's folder as the download folder and
  // looks for complete downloads there. The archive gives the setups of Install actions.
  PrereqPlan(SfxArchive &archive, PrerequisiteList &list,
             DownloadPlatform &platform = DefaultDownloadPlatform(),
             InstallPlatform &installer = DefaultInstallPlatform());
  PrereqPlan(const PrereqPlan &) = delete;
  PrereqPlan &operator=(const PrereqPlan &) = delete;

  // Stores the folder with a trailing backslash, then runs refreshDownloaded.
  void setDownloadFolder(const std::string &path);
  // Download <-> AlreadyDownloaded by what lies in the download folder: a file with the URL's
  // name and exactly ExactSize bytes (and, when a Sha256 is given, that hash; a file is hashed
  // again only when its size or time changed; when a Signer is given, signed by it). A
  // mandatory DownloadFailed row found complete becomes AlreadyDownloaded too.
  void refreshDownloaded();
  // True for a Download row, and for a mandatory one whose download failed: nobody can set
  // that one to Download again, so every download pass tries it anew.
  bool IsScheduledDownload(size_t index) const;
  // Fetches every scheduled download silently: AllAttempted or Stopped, and the actions are
  // updated (ApplyDownloadResults).
  DownloadRunResult downloadAll();
  // Fetches every scheduled download under the download window: AllAttempted, NotStarted or
  // Aborted. The actions are left to the caller.
  DownloadRunResult downloadAll(PassWindows &windows);
  // Ok gives Downloaded, every other status DownloadFailed. The interactive caller applies it
  // after AllAttempted.
  void ApplyDownloadResults();
  // Runs the setups of every Install, Downloaded and AlreadyDownloaded prerequisite in
  // configuration order: silently on the calling thread, or under the launch window. All
  // extractions happen before the first setup starts. After each setup its exit code is read
  // and its search runs again (result). An unattended pass starts nothing more after a result
  // that stops the run (and nothing at all after a failed download); an interactive one
  // nothing more after a restart that must come first.
  void installAll();
  void installAll(PassWindows &windows);
  // True when the last installAll started this prerequisite's setup process. A setup that
  // could not be started (no such entry, a failed extraction, a failed shell call) is false.
  bool setupStarted(size_t index) const;

  // Unattended: no box from the shell, and the stop rules of an unattended run.
  void setUnattended(bool unattended) { unattended_ = unattended; }
  // Where the searches run again; null (the default) is this system.
  void setSearchHost(const SearchHost *host) { searchHost_ = host; }
  // What the last setup run for this prerequisite left (NotRun when none ran), and its code.
  PrereqResult result(size_t index) const { return outcomes_[index].result; }
  uint32_t exitCode(size_t index) const { return outcomes_[index].exitCode; }
  bool HasResult(PrereqResult result) const;

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
  // The batch's items: one per scheduled download.
  void ScheduleDownloads();
  // Both install passes; windows is null for the silent one.
  void RunInstallPass(PassWindows *windows);
  // Runs one setup through installer and records what it left.
  SetupStart RunAndRecord(InstallPlatform &installer, const SetupLaunch &launch);
  friend class OutcomeRecorder;

  // What the last install pass did with one prerequisite.
  struct Outcome {
    PrereqResult result = PrereqResult::NotRun; // what its last setup left
    uint32_t exitCode = 0;
    bool started = false; // its setup was started in the last install pass
  };

  base::RecordVector<PrereqAction> actions_;
  PrerequisiteList &list_;
  SfxArchive &archive_;
  DownloadBatch batch_;
  InstallPlatform &installer_;
  // SetupFile names whose extraction failed in this run: never run, even on a later pass.
  base::StringList badExtractions_;
  mutable HashCheckCache hashChecks_;
  base::RecordVector<Outcome> outcomes_;
  bool unattended_ = false;
  // Set once a result stops the pass: later setups are not started.
  bool stopped_ = false;
  const SearchHost *searchHost_ = nullptr;
};
