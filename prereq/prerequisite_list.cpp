#include "prereq/prerequisite_list.h"

#include <utility>

#include "base/file.h"
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

std::string PrerequisiteList::StatusText(size_t index, TextTranslator translate) const {
  const auto form = [translate](const PrereqText &text) {
    return translate != nullptr ? translate(text.key, text.english) : text.english;
  };
  if (index < decisions_.size() && decisions_[index] == PrereqAction::NotRequired) {
    return form(prereq_text::kStatusNotRequired);
  }
  // The configuration's and the registry's texts are ANSI; the forms, and the result, UTF-8.
  const Prerequisite &p = prerequisites_[index];
  const std::string verMin = sys::PathFromAnsi(p.verMin);
  const std::string verMax = sys::PathFromAnsi(p.verMax);
  PrereqText range = prereq_text::kStatusBetween;
  if (verMin.empty()) {
    range = verMax.empty() ? prereq_text::kStatusAny : prereq_text::kStatusAtMost;
  } else if (verMax.empty()) {
    range = prereq_text::kStatusAtLeast;
  }
  // A one-sided range's {version} is its one bound.
  text::Builder required;
  required.AddForm(
      form(range),
      {{"min", verMin}, {"max", verMax}, {"version", verMin.empty() ? verMax : verMin}});
  text::Builder found;
  const char *separator = "";
  if (index < foundVersions_.size()) {
    for (const std::string &version : foundVersions_[index]) {
      found.Add(separator).Add(sys::PathFromAnsi(version));
      separator = ", ";
    }
  }
  if (*separator == '\0') {
    found.Add(form(prereq_text::kStatusNothing));
  }
  return text::Builder()
      .AddForm(form(prereq_text::kStatusLine),
               {{"required", required.text()}, {"found", found.text()}})
      .Take();
}

PrereqText PrerequisiteList::ActionTextOf(PrereqAction action) {
  switch (action) {
  case PrereqAction::DontInstall:
  case PrereqAction::NotRequired:
    return prereq_text::kDontInstall;
  case PrereqAction::Install:
  case PrereqAction::Downloaded:
  case PrereqAction::AlreadyDownloaded:
    return prereq_text::kInstall;
  case PrereqAction::Download:
    return prereq_text::kDownload;
  case PrereqAction::DownloadFailed:
    return prereq_text::kNotFound;
  case PrereqAction::Installed:
    return prereq_text::kInstalled;
  case PrereqAction::Failed:
    return prereq_text::kFailed;
  }
  return {0, ""};
}
