// The prerequisites of one run with their found versions and decided actions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/object_vector.h"
#include "base/record_vector.h"
#include "prereq/prerequisite.h"

class ProfileFile;
class SearchHost;

enum class PrereqAction : int32_t {
  DontInstall = 0,
  Install = 1,
  Download = 2,
  NotRequired = 3,
  Downloaded = 4,
  DownloadFailed = 5,
  AlreadyDownloaded = 6,
  Installed = 8,
  Failed = 9, // its setup ran and did not install it
};

// The forms of a Status text, in which "{...}" stand for the bounds and what was found. The
// run's log shows the English ones; the wizard those of the user's language.
struct StatusForms {
  const char *line;        // {required}, {found}
  const char *any;         // no bound
  const char *atMost;      // {version}
  const char *atLeast;     // {version}
  const char *between;     // {min}, {max}
  const char *nothing;     // no version found
  const char *notRequired; // the whole text for a prerequisite of another system
};
constexpr StatusForms kEnglishStatusForms = {"Required: {required}. Found: {found}",
                                             "any",
                                             "{version} or lower",
                                             "{version} or higher",
                                             "between {min} and {max}",
                                             "nothing.",
                                             "Not required for this operating system."};

class PrerequisiteList {
public:
  explicit PrerequisiteList(const std::string &configPath);
  ~PrerequisiteList();

  // Reads configPath once and fills generalOptions and prerequisites. Reports no error.
  void LoadConfiguration();
  // The same from a file already parsed.
  void LoadConfiguration(const ProfileFile &file);

  // Runs every prerequisite's search on this machine (nothing is found off Windows).
  void RunDetection();
  void RunDetection(const SearchHost &host);
  // Runs one prerequisite's search again, after its setup, on host (null: this system); true
  // when it now finds a version in range.
  bool Redetect(size_t index, const SearchHost *host);

  // Decides each prerequisite's action for this system's family (from GetVersion) and native
  // architecture; a prerequisite for another family or architecture is NotRequired.
  void DecideActions();
  void DecideActions(OsFamily family, uint8_t arch = kArchX86);

  // True when at least one decision is Install or Download.
  bool NeedsAction() const;
  // Case-sensitive substring test on the general Options.
  bool HasGeneralOption(const char *letters) const;

  // "Required: ... . Found: ..." or "Not required for this operating system.", in the forms
  // given; the versions found are separated by ", ". UTF-8 (path text, base/file.h).
  std::string StatusText(size_t index, const StatusForms &forms = kEnglishStatusForms) const;
  static const char *ActionText(PrereqAction action);

  size_t count() const { return prerequisites_.size(); }
  const Prerequisite &prerequisite(size_t index) const { return prerequisites_[index]; }
  const base::ObjectVector<Prerequisite> &prerequisites() const { return prerequisites_; }
  // Empty until RunDetection has run.
  const base::StringList &foundVersions(size_t index) const { return foundVersions_[index]; }
  // Empty until DecideActions has run.
  PrereqAction decision(size_t index) const { return decisions_[index]; }
  const base::RecordVector<PrereqAction> &decisions() const { return decisions_; }
  const GeneralOptions &generalOptions() const { return generalOptions_; }
  const std::string &configPath() const { return configPath_; }

private:
  PrereqAction DecideAction(size_t index, OsFamily family, uint8_t arch) const;
  bool FoundInRange(size_t index) const;
  // This machine's searches, made on first use and kept: every search after a setup, and the
  // architecture, reuse its libraries and answers.
  const SearchHost &Platform();

  base::ObjectVector<Prerequisite> prerequisites_;
  base::ObjectVector<base::StringList> foundVersions_;
  base::RecordVector<PrereqAction> decisions_;
  GeneralOptions generalOptions_;
  std::string configPath_;
  std::unique_ptr<SearchHost> platform_;
};
