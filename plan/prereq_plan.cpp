#include "plan/prereq_plan.h"

#include "archive/sfx_archive.h"
#include "base/run_log.h"
#include "base/text.h"
#include "download/file_name_from_url.h"
#include "download/find_file_size.h"
#include "plan/pass_windows.h"

PrereqPlan::PrereqPlan(SfxArchive &archive, PrerequisiteList &list, DownloadPlatform &platform,
                       InstallPlatform &installer)
    : actions_(list.decisions()), list_(list), archive_(archive), batch_(platform),
      installer_(installer), outcomes_(kOutcomeFields * actions_.size()) {
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
  if (!UsableDownloadPath(batch_.folder(), prerequisite.source, &path)) {
    return false;
  }
  // The whole size: a file of 4 GiB more than ExactSize is not the download.
  uint64_t size = 0;
  uint64_t writeTime = 0;
  if (!FindFileSize(path, &size, &writeTime) || size != prerequisite.exactSize) {
    return false;
  }
  return (prerequisite.sha256.empty() ||
          hashChecks_.Matches(path, size, writeTime, prerequisite.sha256)) &&
         (prerequisite.signer.empty() || batch_.platform().SignedBy(path, prerequisite.signer));
}

bool PrereqPlan::setupStarted(size_t index) const {
  return index < count() && outcomes_[kOutcomeFields * index + kStartedField] != 0;
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
  // Counted first and filled in place: the items never grow one by one.
  size_t count = 0;
  for (size_t i = 0; i < actions_.size(); ++i) {
    count += IsScheduledDownload(i) ? 1 : 0;
  }
  std::vector<DownloadItem> items(count);
  DownloadItem *item = items.data();
  for (size_t i = 0; i < actions_.size(); ++i) {
    if (!IsScheduledDownload(i)) {
      continue;
    }
    const Prerequisite &p = list_.prerequisite(i);
    item->url = p.source;
    item->size = p.exactSize;
    item->status = DownloadItemStatus::Pending;
    item->prereqIndex = static_cast<int>(i);
    item->sha256 = p.sha256;
    item->signer = p.signer;
    ++item;
  }
  batch_.items().swap(items);
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

void PrereqPlan::ApplyDownloadResults() {
  static const char *const kStatusText[] = {"ok", "failed", "read error", "save error", "skipped"};
  for (const DownloadItem &item : batch_.items()) {
    const size_t index = static_cast<size_t>(item.prereqIndex);
    const bool ok = item.status == DownloadItemStatus::Ok;
    actions_[index] = ok ? PrereqAction::Downloaded : PrereqAction::DownloadFailed;
    if (!ok) {
      outcomes_[kOutcomeFields * index + kResultField] =
          static_cast<uint32_t>(PrereqResult::Failed);
    }
    runlog::Line("Download $ (% bytes, Sha256 %) into %: %",
                 {item.url.c_str(), runlog::Num(item.size).text,
                  item.sha256.empty() ? "none" : item.sha256.c_str(), batch_.folder().c_str(),
                  kStatusText[static_cast<int>(item.status) % 5]});
  }
}

bool PrereqPlan::HasResult(PrereqResult result) const {
  for (size_t i = kResultField; i < outcomes_.size(); i += kOutcomeFields) {
    if (outcomes_[i] == static_cast<uint32_t>(result)) {
      return true;
    }
  }
  return false;
}

std::string PrereqPlan::StatusText(size_t index) const {
  if (actions_[index] != PrereqAction::Failed) {
    return list_.StatusText(index);
  }
  // Built in one piece: assigning text into a string brings the library's whole replace routine.
  return text::Concat(
      {"Exit code ", text::Decimal(exitCode(index)), ". ", list_.StatusText(index)});
}
