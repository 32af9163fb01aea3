#include "prereq/prerequisite_list.h"

#include <utility>

#include "base/text_builder.h"
#include "prereq/config_reader.h"
#include "prereq/profile_file.h"
#include "prereq/search.h"
#include "prereq/search_host.h"
#include "prereq/version_number.h"

PrerequisiteList::PrerequisiteList(const std::string &configPath) : configPath_(configPath) {}

void PrerequisiteList::LoadConfiguration() {
  // The file is parsed once; every key is then looked up in memory.
  ProfileFile file;
  file.Load(configPath_);
  LoadConfiguration(file);
}

void PrerequisiteList::LoadConfiguration(const ProfileFile &file) {
  generalOptions_ = ReadGeneralOptions(file);
  prerequisites_.clear();
  // App1, App2, ... up to the first that is missing or incomplete.
  for (uint32_t n = 1;; ++n) {
    if (!ReadPrerequisite(file, n, &prerequisites_.emplace_back())) {
      prerequisites_.pop_back();
      break;
    }
  }
}

PrerequisiteList::~PrerequisiteList() = default;

const SearchHost &PrerequisiteList::Platform() {
  if (!platform_) {
    platform_ = CreatePlatformSearchHost();
  }
  return *platform_;
}

void PrerequisiteList::RunDetection() { RunDetection(Platform()); }

void PrerequisiteList::RunDetection(const SearchHost &host) {
  foundVersions_.clear();
  for (const Prerequisite &p : prerequisites_) {
    foundVersions_.push_back(RunSearch(host, p.searchType, p.searchString));
  }
}

bool PrerequisiteList::Redetect(size_t index, const SearchHost *host) {
  // Only after RunDetection, which sizes the found versions.
  if (index >= foundVersions_.size()) {
    return false;
  }
  const Prerequisite &p = prerequisites_[index];
  foundVersions_[index] = RunSearch(host ? *host : Platform(), p.searchType, p.searchString);
  return FoundInRange(index);
}

void PrerequisiteList::DecideActions() {
  DecideActions(CurrentOsFamily(), Platform().Architecture());
}

void PrerequisiteList::DecideActions(OsFamily family, uint8_t arch) {
  decisions_.clear();
  for (size_t i = 0; i < prerequisites_.size(); ++i) {
    decisions_.push_back(DecideAction(i, family, arch));
  }
}

PrereqAction PrerequisiteList::DecideAction(size_t index, OsFamily family, uint8_t arch) const {
  const Prerequisite &p = prerequisites_[index];
  if ((family == OsFamily::Windows9x && p.targetOS == 1) ||
      (family == OsFamily::WindowsNT && p.targetOS == 0) ||
      (p.architectures != 0 && (p.architectures & arch) == 0)) {
    return PrereqAction::NotRequired;
  }
  if (FoundInRange(index)) {
    return PrereqAction::DontInstall;
  }
  return p.sourceKind == SourceKind::Url ? PrereqAction::Download : PrereqAction::Install;
}

bool PrerequisiteList::FoundInRange(size_t index) const {
  if (index >= foundVersions_.size()) {
    return false;
  }
  const Prerequisite &p = prerequisites_[index];
  const VersionNumber min = ParseVersion(p.verMin);
  const VersionNumber max = ParseVersion(p.verMax);
  for (const std::string &found : foundVersions_[index]) {
    if (InRange(ParseVersion(found), min, max)) {
      return true;
    }
  }
  return false;
}

bool PrerequisiteList::NeedsAction() const {
  for (PrereqAction action : decisions_) {
    if (action == PrereqAction::Install || action == PrereqAction::Download) {
      return true;
    }
  }
  return false;
}

bool PrerequisiteList::HasGeneralOption(const char *letters) const {
  return HasOptionLetter(generalOptions_.options, letters);
}

std::string PrerequisiteList::StatusText(size_t index) const {
  if (index < decisions_.size() && decisions_[index] == PrereqAction::NotRequired) {
    return "Not required for this operating system.";
  }
  const Prerequisite &p = prerequisites_[index];
  text::Builder status;
  status.Add("Required: ");
  if (p.verMin.empty() && p.verMax.empty()) {
    status.Add("any");
  } else if (p.verMin.empty()) {
    status.Add(p.verMax).Add(" or lower");
  } else if (p.verMax.empty()) {
    status.Add(p.verMin).Add(" or higher");
  } else {
    status.Add("between ").Add(p.verMin).Add(" and ").Add(p.verMax);
  }
  status.Add(". Found: ");
  const char *separator = "";
  if (index < foundVersions_.size()) {
    for (const std::string &found : foundVersions_[index]) {
      status.Add(separator).Add(found);
      separator = ", ";
    }
  }
  if (*separator == '\0') {
    status.Add("nothing.");
  }
  return status.Take();
}

const char *PrerequisiteList::ActionText(PrereqAction action) {
  switch (action) {
  case PrereqAction::DontInstall:
  case PrereqAction::NotRequired:
    return "Don't Install";
  case PrereqAction::Install:
  case PrereqAction::Downloaded:
  case PrereqAction::AlreadyDownloaded:
    return "Install";
  case PrereqAction::Download:
    return "Download";
  case PrereqAction::DownloadFailed:
    return "Not Found";
  case PrereqAction::Installed:
    return "Installed";
  case PrereqAction::Failed:
    return "Failed";
  }
  return "";
}
