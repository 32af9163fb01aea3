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

// A text the log writes and the wizard shows: the key a language table stores its translation
// under (the keys of resources/ui_texts.h) and its English.
struct PrereqText {
  uint32_t key;
  const char *english;
};
// Gives a text in the user's language, or its English (the wizard's: ui/ui_text.h).
using TextTranslator = const char *(*)(uint32_t key, const char *english);

namespace prereq_text {
// The Action texts.
constexpr PrereqText kDontInstall = {0x1030, "Don't Install"};
constexpr PrereqText kInstall = {0x1031, "Install"};
constexpr PrereqText kDownload = {0x1032, "Download"};
constexpr PrereqText kNotFound = {0x1033, "Not Found"};
constexpr PrereqText kInstalled = {0x1034, "Installed"};
constexpr PrereqText kFailed = {0x1035, "Failed"};
// The Status text's forms, in which "{...}" stand for the bounds and what was found.
constexpr PrereqText kStatusLine = {0x1040, "Required: {required}. Found: {found}"};
constexpr PrereqText kStatusAny = {0x1041, "any"};
constexpr PrereqText kStatusAtMost = {0x1042, "{version} or lower"};
constexpr PrereqText kStatusAtLeast = {0x1043, "{version} or higher"};
constexpr PrereqText kStatusBetween = {0x1044, "between {min} and {max}"};
constexpr PrereqText kStatusNothing = {0x1045, "nothing."};
constexpr PrereqText kStatusNotRequired = {0x1046, "Not required for this operating system."};
} // namespace prereq_text

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

  // "Required: ... . Found: ..." or "Not required for this operating system.", its forms
  // through translate (English without); the versions found are separated by ", ". UTF-8
  // (path text, base/file.h).
  std::string StatusText(size_t index, TextTranslator translate = nullptr) const;
  // The Action column's text of an action.
  static PrereqText ActionTextOf(PrereqAction action);
  static const char *ActionText(PrereqAction action) { return ActionTextOf(action).english; }

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
