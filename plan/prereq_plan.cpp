#include "plan/prereq_plan.h"

#include "archive/sfx_archive.h"
#include "base/file.h"
#include "base/run_log.h"
#include "download/file_name_from_url.h"
#include "download/find_file_size.h"
#include "plan/pass_windows.h"

PrereqPlan::PrereqPlan(SfxArchive &archive, PrerequisiteList &list, DownloadPlatform &platform,
                       InstallPlatform &installer)
    : actions_(list.decisions()), list_(list), archive_(archive), batch_(platform),
      installer_(installer) {
  outcomes_.assign(actions_.size());
  batch_.setFolder(archive.ModuleFolder());
  refreshDownloaded();
}

void PrereqPlan::setDownloadFolder(const std::string &path) {
  batch_.setFolder(path);
  refreshDownloaded();
}

bool PrereqPlan::IsCompleteDownload(const Prerequisite &prerequisite) const {
  // A name that is no plain file (a wildcard, a stream) never counts as found.
  std::string path;
  uint64_t size = 0;
  uint64_t writeTime = 0;
  if (!UsableDownloadPath(batch_.folder(), prerequisite.source, &path) ||
      !FindFileSize(path, &size, &writeTime)) {
    return false;
  }
  // The whole size: a file of 4 GiB more than ExactSize is not the download. Without ExactSize
  // a hash or a signer decides alone, and a file that fails them may be one to resume.
  const bool whole = size == prerequisite.exactSize;
  if (!whole && (prerequisite.exactSize != 0 || !prerequisite.checksContent())) {
    return false;
  }
  if ((prerequisite.sha256.empty() ||
       hashChecks_.Matches(path, size, writeTime, prerequisite.sha256)) &&
      (prerequisite.signer.empty() || batch_.platform().SignedBy(path, prerequisite.signer))) {
    return true;
  }
  // A whole file that fails its checks is not kept for anyone to run.
  if (whole) {
    sys::DeleteFilePath(path);
  }
  return false;
}

bool PrereqPlan::setupStarted(size_t index) const {
  return index < count() && outcomes_[index].started;
}

bool PrereqPlan::IsScheduledDownload(size_t index) const {
  const PrereqAction action = actions_[index];
  return action == PrereqAction::Download ||
         (action == PrereqAction::DownloadFailed && list_.prerequisite(index).isMandatory());
}

void PrereqPlan::refreshDownloaded() {
  for (size_t i = 0; i < actions_.size(); ++i) {
    if (!IsScheduledDownload(i) && actions_[i] != PrereqAction::AlreadyDownloaded) {
      continue;
    }
    if (IsCompleteDownload(list_.prerequisite(i))) {
      actions_[i] = PrereqAction::AlreadyDownloaded;
    } else if (actions_[i] == PrereqAction::AlreadyDownloaded) {
      actions_[i] = PrereqAction::Download;
    }
  }
}

void PrereqPlan::ScheduleDownloads() {
  base::ObjectVector<DownloadItem> &items = batch_.items();
  items.clear();
  for (size_t i = 0; i < actions_.size(); ++i) {
    if (!IsScheduledDownload(i)) {
      continue;
    }
    const Prerequisite &p = list_.prerequisite(i);
    DownloadItem &item = items.emplace_back();
    item.url = p.source;
    item.mirrors = &p.mirrors;
    item.size = p.exactSize;
    item.prereqIndex = static_cast<int>(i);
    item.sha256 = p.sha256;
    item.signer = p.signer;
  }
}

DownloadRunResult PrereqPlan::downloadAll() {
  ScheduleDownloads();
  const DownloadRunResult result = batch_.runSilently();
  ApplyDownloadResults();
  return result;
}

DownloadRunResult PrereqPlan::downloadAll(PassWindows &windows) {
  ScheduleDownloads();
  return windows.ShowDownloads(batch_);
}

namespace {

// A download's status as the log names it.
const char *StatusWord(DownloadItemStatus status) {
  switch (status) {
  case DownloadItemStatus::Ok:
    return "ok";
  case DownloadItemStatus::Failed:
    return "failed";
  case DownloadItemStatus::ReadFailed:
    return "read error";
  case DownloadItemStatus::SaveFailed:
    return "save error";
  case DownloadItemStatus::Pending:
    break;
  }
  return "skipped";
}

} // namespace

void PrereqPlan::ApplyDownloadResults() {
  for (const DownloadItem &item : batch_.items()) {
    const size_t index = static_cast<size_t>(item.prereqIndex);
    const bool ok = item.status == DownloadItemStatus::Ok;
    actions_[index] = ok ? PrereqAction::Downloaded : PrereqAction::DownloadFailed;
    if (!ok) {
      outcomes_[index].result = PrereqResult::Failed;
    }
    runlog::Line("Download $ (% bytes, Sha256 %) into %: %",
                 {item.url, item.size, item.sha256.empty() ? std::string_view("none") : item.sha256,
                  batch_.folder(), StatusWord(item.status)});
  }
}

bool PrereqPlan::HasResult(PrereqResult result) const {
  for (const Outcome &outcome : outcomes_) {
    if (outcome.result == result) {
      return true;
    }
  }
  return false;
}
