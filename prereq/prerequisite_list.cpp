#include "prereq/prerequisite_list.h"

#include <utility>

#include "base/text.h"
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
  ReadGeneralOptions(file, &generalOptions_);
  // Counted first, then read into a list sized once: a record is never moved by growth.
  // Whether a section is complete does not depend on what the record held before.
  uint32_t count = 0;
  // The test record is made the way the list's records are, so the setup carries one piece of
  // code that sets a record up.
  std::vector<Prerequisite> scratch(1);
  while (count != UINT32_MAX && ReadPrerequisiteInPlace(file, count + 1, &scratch[0])) {
    ++count;
  }
  std::vector<Prerequisite> list(count);
  for (uint32_t i = 0; i < count; ++i) {
    ReadPrerequisiteInPlace(file, i + 1, &list[i]);
  }
  prerequisites_.swap(list);
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
  // Sized once and filled in place: no growth code for a vector of vectors.
  std::vector<std::vector<std::string>> found(prerequisites_.size());
  for (size_t i = 0; i < found.size(); ++i) {
    const Prerequisite &p = prerequisites_[i];
    found[i] = RunSearch(host, p.searchType, p.searchString);
  }
  foundVersions_.swap(found);
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
  // Sized once: no growth code for the decisions.
  std::vector<PrereqAction> decisions(prerequisites_.size());
  for (size_t i = 0; i < decisions.size(); ++i) {
    decisions[i] = DecideAction(i, family, arch);
  }
  decisions_.swap(decisions);
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
  // By the bounds given: none, the highest only, the lowest only, both. The form is "any",
  // "MAX or lower", "MIN or higher" or "between MIN and MAX"; an absent bound is empty.
  static const char *const kBefore[] = {"any", "", "", "between "};
  static const char *const kAfter[] = {"", " or lower", " or higher", ""};
  const int form = (p.verMin.empty() ? 0 : 2) + (p.verMax.empty() ? 0 : 1);
  std::string status =
      text::Concat({"Required: ", kBefore[form], p.verMin, form == 3 ? " and " : "", p.verMax,
                    kAfter[form], ". Found: "});
  const char *separator = "";
  if (index < foundVersions_.size()) {
    for (const std::string &found : foundVersions_[index]) {
      status += separator;
      status += found;
      separator = ", ";
    }
  }
  if (*separator == '\0') {
    status += "nothing.";
  }
  return status;
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
