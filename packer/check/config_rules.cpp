#include "packer/check/config_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "base/text.h"
#include "download/file_name_from_url.h"
#include "prereq/config_reader.h"
#include "prereq/exit_code_list.h"
#include "prereq/profile_file.h"
#include "prereq/search.h"
#include "prereq/version_number.h"

namespace {

const char *const kAppKeys[] = {"SetupFile",    "Url",           "ExactSize",  "CommandLine",
                                "Options",      "TargetOS",      "SearchType", "SearchString",
                                "VerMin",       "VerMax",        "Sha256",     "SuccessCodes",
                                "RestartCodes", "Architectures", "Signer"};
const char *const kGeneralKeys[] = {"MainAppCmdLine", "Options"};

// Edit distance, to name the key a misspelt one was probably meant to be.
size_t Distance(const std::string &a, const std::string &b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) {
    row[j] = j;
  }
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = row[j];
      size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + cost});
      diagonal = up;
    }
  }
  return row[b.size()];
}

const char *NameOf(const char *name) { return name; }
const char *NameOf(const FolderTokenEntry &token) { return token.name; }

template <class Known, size_t N>
std::string Suggestion(const std::string &name, const Known (&known)[N]) {
  std::string best;
  size_t bestDistance = 3;
  for (const Known &entry : known) {
    const char *candidate = NameOf(entry);
    size_t d = Distance(text::Lower(name), text::Lower(candidate));
    if (d < bestDistance) {
      bestDistance = d;
      best = candidate;
    }
  }
  return best.empty() ? std::string() : " (did you mean " + best + "?)";
}

template <size_t N> bool IsKnown(const std::string &name, const char *const (&known)[N]) {
  for (const char *candidate : known) {
    if (text::EqualNoCase(name, candidate)) {
      return true;
    }
  }
  return false;
}

bool AllDigits(const std::string &s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "App" followed by a number without leading zeros: the number, else 0.
uint32_t AppNumber(const std::string &name) {
  if (name.size() < 4 || !text::StartsWithNoCase(name, "App")) {
    return 0;
  }
  std::string digits = name.substr(3);
  if (!AllDigits(digits) || digits[0] == '0' || digits.size() > 9) {
    return 0;
  }
  return ParseConfigNumber(digits);
}

// "Url" followed by a number without leading zeros (a further download address): the number,
// else 0.
uint32_t UrlNumber(const std::string &name) {
  if (name.size() < 4 || !text::StartsWithNoCase(name, "Url")) {
    return 0;
  }
  std::string digits = name.substr(3);
  if (!AllDigits(digits) || digits[0] == '0' || digits.size() > 9) {
    return 0;
  }
  return ParseConfigNumber(digits);
}

// A Windows Installer code: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hexadecimal digits.
bool IsGuid(const std::string &s) {
  if (s.size() != 38 || s.front() != '{' || s.back() != '}') {
    return false;
  }
  for (size_t i = 1; i < 37; ++i) {
    const char c = s[i];
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

// The old names of folders that a 32-bit setup sees as the 32-bit ones on a 64-bit machine.
bool Is32BitViewToken(const std::string &token) {
  return token == "SystemFolder" || token == "ProgramFilesFolder" || token == "ProgramFiles" ||
         token == "CommonFilesFolder";
}

bool IsHex64(const std::string &s) {
  return s.size() == 64 && std::all_of(s.begin(), s.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
         });
}

class RuleChecker {
public:
  RuleChecker(const ProfileFile &file, const ConfigRulesInput &input, ConfigReport *report)
      : file_(file), input_(input), report_(report) {}

  void Run() {
    CheckLayout();
    report_->general = ReadGeneralOptions(file_);
    CheckGeneral();
    uint32_t n = 1;
    Prerequisite p;
    while (ReadPrerequisite(file_, n, &p)) {
      report_->prerequisites.push_back(p);
      CheckPrerequisite(n, p);
      ++n;
    }
    report_->endReason = EndReason(n);
    CheckUnreadSections(n);
    if (report_->prerequisites.empty() && file_.FindSection("PREREQUISITES") != nullptr) {
      Add(ConfigFinding::kError, "PREREQUISITES", 0,
          "the file has a [PREREQUISITES] section but no prerequisite can be read: " +
              report_->endReason);
    } else if (report_->prerequisites.empty() && file_.hasLines() && !HasGeneralOptions()) {
      // Text in an encoding the reader does not recognise reads as nothing, silently.
      Add(ConfigFinding::kError, "file", 0,
          std::string("the file is not empty, but neither a prerequisite nor a general option "
                      "can be read from it (read as ") +
              ProfileEncodingName(file_.encoding()) +
              "); save it as ANSI, or as UTF-8 or UTF-16 with a byte-order mark");
    }
  }

private:
  void Add(ConfigFinding::Severity severity, const std::string &where, int line,
           const std::string &message) {
    ConfigFinding finding;
    finding.severity = severity;
    finding.where = where;
    finding.line = line;
    finding.message = message;
    report_->findings.push_back(finding);
  }
  bool HasGeneralOptions() const {
    std::string value;
    return ReadConfigValue(file_, "GeneralOptions", "MainAppCmdLine", &value) ||
           ReadConfigValue(file_, "GeneralOptions", "Options", &value);
  }
  void Warn(const std::string &where, int line, const std::string &message) {
    Add(ConfigFinding::kWarning, where, line, message);
  }

  int LineOf(const std::string &section, const std::string &key) const {
    const ProfileFile::Section *s = file_.FindSection(section);
    const ProfileFile::Key *k = s == nullptr ? nullptr : ProfileFile::FindKey(*s, key);
    return k == nullptr ? 0 : k->line;
  }

  // Sections, keys and values that the run never reads or reads differently than meant.
  void CheckLayout() {
    std::vector<std::string> seen;
    for (size_t i = 0; i < file_.sections().size(); ++i) {
      const ProfileFile::Section &section = file_.sections()[i];
      if (i == 0) {
        for (const ProfileFile::Key &key : section.keys) {
          if (!key.name.empty() && (key.name[0] == ';' || key.name[0] == '#')) {
            continue; // a comment
          }
          Warn("file", key.line, "'" + key.name + "' stands before any section and is never read");
        }
        continue;
      }
      bool isApp = AppNumber(section.name) != 0;
      bool isGeneral = text::EqualNoCase(section.name, "GeneralOptions");
      bool isList = text::EqualNoCase(section.name, "PREREQUISITES");
      if (std::find(seen.begin(), seen.end(), text::Lower(section.name)) != seen.end()) {
        Warn(section.name, section.line,
             "section [" + section.name + "] appears again; only its first appearance is read");
        continue;
      }
      seen.push_back(text::Lower(section.name));
      if (!isApp && !isGeneral && !isList) {
        Warn(section.name, section.line,
             "section [" + section.name +
                 "] is not one of PREREQUISITES, GeneralOptions or "
                 "AppN and is never read");
        continue;
      }
      CheckKeys(section, isApp, isGeneral);
    }
  }

  void CheckKeys(const ProfileFile::Section &section, bool isApp, bool isGeneral) {
    std::vector<std::string> keys;
    for (const ProfileFile::Key &key : section.keys) {
      if (key.name.empty() || key.name[0] == ';' || key.name[0] == '#') {
        continue; // comments and blank names are never asked for
      }
      if (std::find(keys.begin(), keys.end(), text::Lower(key.name)) != keys.end()) {
        Warn(section.name, key.line,
             "key " + key.name + " appears again in [" + section.name +
                 "]; only the first one is read");
        continue;
      }
      keys.push_back(text::Lower(key.name));
      if (!key.hasEquals) {
        Warn(section.name, key.line, "line '" + key.name + "' has no '=' and is never read");
        continue;
      }
      if (isApp && !IsKnown(key.name, kAppKeys) && UrlNumber(key.name) < 2) {
        Warn(section.name, key.line,
             "unknown key " + key.name + " in [" + section.name + "]" +
                 Suggestion(key.name, kAppKeys));
      } else if (isGeneral && !IsKnown(key.name, kGeneralKeys)) {
        Warn(section.name, key.line,
             "unknown key " + key.name + " in [GeneralOptions]" +
                 Suggestion(key.name, kGeneralKeys));
      } else if (!isApp && !isGeneral && AppNumber(key.name) == 0) {
        Warn(section.name, key.line,
             "key " + key.name + " in [PREREQUISITES] is not App1, App2, ... and is never read");
      }
      std::string value = ProfileFile::Unquote(key.value);
      if (value.size() >= kConfigValueBuffer - 1) {
        Warn(section.name, key.line,
             key.name + " is " + std::to_string(value.size()) +
                 " characters long; values of 259 characters or more are ignored");
      } else if (value == kNotFound) {
        Warn(section.name, key.line,
             key.name + " is \"NOT FOUND\", which reads as if the key were absent");
      }
    }
  }

  void CheckGeneral() {
    const std::string &options = report_->general.options;
    int line = LineOf("GeneralOptions", "Options");
    if (HasOptionLetter(options, "Q") && !HasOptionLetter(options, kQuietOption)) {
      Warn("GeneralOptions", line, "Options has a capital Q; only a small q selects the quiet run");
    }
    if (HasOptionLetter(options, kMandatoryOption)) {
      Warn("GeneralOptions", line,
           "Options letter m has no effect here; it belongs in a prerequisite's Options");
    }
  }

  void CheckNumber(const std::string &section, const char *key, const std::string &meaning) {
    std::string value;
    if (!ReadConfigValue(file_, section, key, &value) || AllDigits(value)) {
      return;
    }
    Warn(section, LineOf(section, key),
         std::string(key) + " '" + value + "' reads as " +
             std::to_string(ParseConfigNumber(value)) + meaning +
             " (only the leading digits count)");
  }

  void CheckPrerequisite(uint32_t n, const Prerequisite &p) {
    const std::string s = AppKeyName(n);
    CheckNumber(s, "TargetOS", "");
    CheckNumber(s, "ExactSize", " bytes");
    CheckNumber(s, "SearchType", "");
    if (p.targetOS > 2) {
      Warn(s, LineOf(s, "TargetOS"),
           "TargetOS " + std::to_string(p.targetOS) +
               " is not 0, 1 or 2; it counts as both "
               "families");
    }
    CheckSource(s, p);
    CheckArchitectures(s, p);
    CheckSearch(s, p);
    CheckVersions(s, p);
    int optionsLine = LineOf(s, "Options");
    if (HasOptionLetter(p.options, "M") && !p.isMandatory()) {
      Warn(s, optionsLine, "Options has a capital M; only a small m makes the action mandatory");
    }
    if (HasOptionLetter(p.options, kQuietOption) || HasOptionLetter(p.options, "Q")) {
      Warn(s, optionsLine, "Options letter q has no effect here; it belongs in [GeneralOptions]");
    }
    CheckCodes(s, "SuccessCodes", p.successCodes, "0, 1638, 1707");
    CheckCodes(s, "RestartCodes", p.restartCodes, "3010");
    if (!p.successCodes.empty() && ExitCodeListHas(p.successCodes, 0) == 0) {
      Warn(s, LineOf(s, "SuccessCodes"),
           "SuccessCodes does not hold 0: a setup that ends with 0 counts as failed");
    }
    if (!p.sha256.empty() && !IsHex64(p.sha256)) {
      Add(ConfigFinding::kError, s, LineOf(s, "Sha256"),
          "Sha256 must be 64 hexadecimal digits; '" + p.sha256 + "' is not");
    }
  }

  // A list given but unusable: the setup uses the default instead.
  void CheckCodes(const std::string &s, const char *key, const std::string &list,
                  const char *defaults) {
    std::string raw;
    if (ReadConfigValue(file_, s, key, &raw) && ExitCodeListHas(list, 0) < 0) {
      Warn(s, LineOf(s, key),
           std::string(key) + " '" + raw +
               "' is not a list of comma-separated decimal exit codes; the default (" + defaults +
               ") is used");
    }
  }

  void CheckSource(const std::string &s, const Prerequisite &p) {
    std::string url;
    if (p.sourceKind == SourceKind::SetupFile) {
      if (ReadConfigValue(file_, s, "Url", &url)) {
        Warn(s, LineOf(s, "Url"), "both SetupFile and Url are given; Url is ignored");
      }
      if (input_.setupKnown && std::find(input_.setupNames.begin(), input_.setupNames.end(),
                                         p.source) == input_.setupNames.end()) {
        Add(ConfigFinding::kError, s, LineOf(s, "SetupFile"),
            "SetupFile '" + p.source + "' is not a prerequisite setup carried by the setup");
      } else if (p.source.empty()) {
        Warn(s, LineOf(s, "SetupFile"), "SetupFile is empty");
      }
      return;
    }
    int line = LineOf(s, "Url");
    size_t scheme = p.source.find("://");
    std::string rest = scheme == std::string::npos ? p.source : p.source.substr(scheme + 3);
    std::string name = fileNameFromUrl(p.source);
    if (!text::StartsWithNoCase(p.source, "http://") &&
        !text::StartsWithNoCase(p.source, "https://")) {
      Warn(s, line, "Url '" + p.source + "' does not start with http:// or https://");
    }
    if (rest.find('/') == std::string::npos || name.empty()) {
      Warn(s, line, "Url '" + p.source + "' has no file name to store the download under");
    } else if (!IsUsableDownloadName(name)) {
      Warn(s, line, "Url '" + p.source + "' ends in '" + name + "', which cannot be a file name");
    }
    // Url2, Url3, ...: read up to the first one missing; each must be a web address.
    for (size_t i = 0; i < p.mirrors.size(); ++i) {
      if (!IsWebAddress(p.mirrors[i])) {
        const std::string key = UrlKeyName(static_cast<uint32_t>(i + 2));
        Add(ConfigFinding::kError, s, LineOf(s, key),
            key + " '" + p.mirrors[i] + "' is not an http:// or https:// address");
      }
    }
    if (const ProfileFile::Section *section = file_.FindSection(s)) {
      for (const ProfileFile::Key &key : section->keys) {
        if (UrlNumber(key.name) > p.mirrors.size() + 1) {
          Warn(s, key.line,
               key.name + " is never read: the addresses end at " +
                   UrlKeyName(static_cast<uint32_t>(p.mirrors.size() + 2)) + ", which is missing");
        }
      }
    }
    std::string value;
    if (!ReadConfigValue(file_, s, "ExactSize", &value) && !p.checksContent()) {
      Warn(s, line,
           "Url '" + p.source +
               "' has no ExactSize, Sha256 or Signer: its size must then be 0, so every server "
               "that announces a length fails with \"Wrong file size\"; give ExactSize, or "
               "Sha256 or Signer for a file that changes");
    }
    std::string signer;
    if (ReadConfigValue(file_, s, "Signer", &signer) && signer.empty()) {
      Warn(s, LineOf(s, "Signer"), "Signer is empty: no signature is checked");
    }
    if (!p.checksContent()) {
      const bool plain = text::StartsWithNoCase(p.source, "http://");
      Warn(s, line,
           std::string(plain ? "UNVERIFIED DOWNLOAD OVER PLAIN HTTP: " : "UNVERIFIED DOWNLOAD: ") +
               "Url '" + p.source +
               "' has neither Sha256 nor Signer, so whatever the server sends" +
               (plain ? " or anyone on the network path puts in its place" : "") +
               ", and a file of its name and size left in the download folder, is run "
               "unchecked; add Sha256 (tessara-pack hash FILE) or Signer (the name its "
               "signature carries)" +
               (plain ? " and prefer https://" : ""));
    }
  }

  void CheckSearch(const std::string &s, const Prerequisite &p) {
    int typeLine = LineOf(s, "SearchType");
    int line = LineOf(s, "SearchString");
    if (p.searchType < 0 || p.searchType > kSearchUpgrade) {
      Warn(s, typeLine,
           "SearchType " + std::to_string(p.searchType) +
               " is not 0 (file), 1 (registry), 2 (registry value), 3 (ProductCode) or 4 "
               "(UpgradeCode): nothing is ever found, so the prerequisite is always installed");
      return;
    }
    if (p.searchType >= kSearchProduct) {
      if (!IsGuid(p.searchString)) {
        Add(ConfigFinding::kError, s, line,
            std::string(p.searchType == kSearchProduct ? "a ProductCode" : "an UpgradeCode") +
                " is written {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in hexadecimal digits; '" +
                p.searchString + "' is not, and finds nothing");
      }
      return;
    }
    if (p.searchType == kSearchFile) {
      CheckFileSearch(s, line, p.searchString, Only64Bit(p));
      return;
    }
    std::string text = p.searchString;
    if (p.searchType == kSearchRegistryValue && !RegistryValueToValueForm(text, &text)) {
      Warn(s, line, "a registry value search needs a key path and a value name; nothing is found");
      return;
    }
    RegistrySearchParts parts = SplitRegistrySearch(text);
    if (!parts.ok) {
      Warn(s, line, "a registry search needs a root and a key path; nothing is found");
      return;
    }
    std::string root = text.substr(0, text.find('\\'));
    const size_t size = root.size();
    if (parts.root == RegRoot::CurrentUser && root != "HKCU" && size >= 2 &&
        (root.compare(size - 2, 2, "64") == 0 || root.compare(size - 2, 2, "32") == 0)) {
      Add(ConfigFinding::kError, s, line,
          "root '" + root +
              "' is not HKLM64, HKCU64, HKLM32 or HKCU32 (written exactly so): it selects "
              "HKEY_CURRENT_USER as the setup sees it");
    } else if (parts.root == RegRoot::LocalMachine && Only64Bit(p)) {
      Warn(s, line,
           "Architectures names 64-bit machines only, but there root HKLM reads the 32-bit view "
           "(the setup is a 32-bit program); write HKLM64 for the 64-bit one, or HKLM32 if the "
           "32-bit view is meant");
    } else if (parts.root == RegRoot::CurrentUser && root != "HKCU") {
      std::string hint =
          text::EqualNoCase(root, "HKLM") || text::EqualNoCase(root, "HKEY_LOCAL_MACHINE")
              ? "; write HKLM for HKEY_LOCAL_MACHINE"
              : "";
      Warn(s, line, "root '" + root + "' selects HKEY_CURRENT_USER" + hint);
    }
    if (parts.keyPath.empty() && !parts.valueForm) {
      Warn(s, line, "the registry key path is empty");
    }
  }

  // Whether Architectures names 64-bit machines only: a 32-bit view is then probably not meant.
  static bool Only64Bit(const Prerequisite &p) {
    return (p.architectures & (kArchX64 | kArchArm64)) != 0 && (p.architectures & kArchX86) == 0;
  }

  void CheckArchitectures(const std::string &s, const Prerequisite &p) {
    std::string list;
    if (!ReadConfigValue(file_, s, "Architectures", &list)) {
      return;
    }
    size_t start = 0;
    for (;;) {
      const size_t comma = list.find(',', start);
      const std::string word(text::TrimSpacesAndTabs(list.substr(start, comma - start)));
      if (std::find(std::begin(kArchNames), std::end(kArchNames), word) == std::end(kArchNames)) {
        Add(ConfigFinding::kError, s, LineOf(s, "Architectures"),
            "Architectures: '" + word +
                "' is not x86, x64 or arm64 (written exactly so, separated by commas)" +
                (p.architectures == kArchListed ? "; the prerequisite applies to no machine" : ""));
      }
      if (comma == std::string::npos) {
        return;
      }
      start = comma + 1;
    }
  }

  void CheckFileSearch(const std::string &s, int line, const std::string &text, bool only64) {
    FileSearchParts parts = SplitFileSearch(text);
    if (parts.fileName.empty()) {
      Warn(s, line, "the file search names no file");
    }
    size_t question = text.find('?', 1);
    if (question != std::string::npos && !AllDigits(text.substr(question + 1))) {
      Warn(s, line,
           "the depth '" + text.substr(question + 1) + "' reads as " + std::to_string(parts.depth));
    }
    size_t pos = 0;
    while ((pos = parts.folder.find('[', pos)) != std::string::npos) {
      size_t close = parts.folder.find(']', pos);
      if (close == std::string::npos) {
        Warn(s, line, "'[' without ']' stays literal text in the folder");
        break;
      }
      std::string token = parts.folder.substr(pos + 1, close - pos - 1);
      if (!IsFolderToken(token)) {
        // A misspelt 64-bit folder would search the current folder instead.
        Add(token.find("64") != std::string::npos ? ConfigFinding::kError : ConfigFinding::kWarning,
            s, line,
            "[" + token + "] is not a folder token and is replaced by nothing" +
                Suggestion(token, kFolderTokens));
      } else if (only64 && Is32BitViewToken(token)) {
        Warn(s, line,
             "Architectures names 64-bit machines only, but there [" + token +
                 "] is the 32-bit folder (the setup is a 32-bit program); the 64-bit one is "
                 "written with 64 ([System64Folder], [ProgramFiles64Folder], "
                 "[CommonFiles64Folder])");
      }
      pos = close + 1;
    }
  }

  void CheckVersions(const std::string &s, const Prerequisite &p) {
    VersionNumber min = ParseVersion(p.verMin);
    VersionNumber max = ParseVersion(p.verMax);
    if (!p.verMin.empty() && IsEmpty(min)) {
      Warn(s, LineOf(s, "VerMin"), "VerMin '" + p.verMin + "' has no digits; it sets no bound");
    }
    if (!p.verMax.empty() && IsEmpty(max)) {
      Warn(s, LineOf(s, "VerMax"), "VerMax '" + p.verMax + "' has no digits; it sets no bound");
    }
    if (!IsEmpty(min) && !IsEmpty(max) && Compare(min, max) > 0) {
      Warn(s, LineOf(s, "VerMin"),
           "VerMin " + p.verMin + " is above VerMax " + p.verMax +
               ": no version is ever in range, so the prerequisite is always installed");
    }
  }

  std::string EndReason(uint32_t n) const {
    const std::string k = AppKeyName(n);
    std::string value;
    std::string after = k + " and everything after it is ignored";
    if (file_.FindSection("PREREQUISITES") == nullptr) {
      return "there is no [PREREQUISITES] section";
    }
    if (!ReadConfigValue(file_, "PREREQUISITES", k, &value)) {
      const ProfileFile::Section *list = file_.FindSection("PREREQUISITES");
      const ProfileFile::Key *key = ProfileFile::FindKey(*list, k);
      if (key != nullptr) {
        return "the value of " + k + " in [PREREQUISITES] cannot be used, so " + after;
      }
      return k + " is not listed in [PREREQUISITES]";
    }
    if (file_.FindSection(k) == nullptr) {
      return "there is no section [" + k + "], so " + after;
    }
    if (!ReadConfigValue(file_, k, "SetupFile", &value) &&
        !ReadConfigValue(file_, k, "Url", &value)) {
      return k + " has no usable SetupFile or Url, so " + after;
    }
    if (!ReadConfigValue(file_, k, "SearchType", &value)) {
      return k + " has no usable SearchType, so " + after;
    }
    return k + " has no usable SearchString, so " + after;
  }

  // AppN keys and sections past the end of the list are probably meant to be read.
  void CheckUnreadSections(uint32_t end) {
    const ProfileFile::Section *list = file_.FindSection("PREREQUISITES");
    std::vector<uint32_t> reported;
    auto report = [&](uint32_t number, int line) {
      if (number <= end || std::find(reported.begin(), reported.end(), number) != reported.end()) {
        return;
      }
      reported.push_back(number);
      Warn(AppKeyName(number), line,
           AppKeyName(number) + " is never read: the list ends before it (" + report_->endReason +
               ")");
    };
    if (list != nullptr) {
      for (const ProfileFile::Key &key : list->keys) {
        report(AppNumber(key.name), key.line);
      }
    }
    for (const ProfileFile::Section &section : file_.sections()) {
      report(AppNumber(section.name), section.line);
    }
  }

  const ProfileFile &file_;
  const ConfigRulesInput &input_;
  ConfigReport *report_;
};

} // namespace

int ConfigReport::errorCount() const {
  return static_cast<int>(
      std::count_if(findings.begin(), findings.end(),
                    [](const ConfigFinding &f) { return f.severity == ConfigFinding::kError; }));
}

int ConfigReport::warningCount() const { return static_cast<int>(findings.size()) - errorCount(); }

ConfigReport ApplyConfigRules(const ProfileFile &file, const ConfigRulesInput &input) {
  ConfigReport report;
  RuleChecker(file, input, &report).Run();
  // In file order; findings without a line of their own come last.
  std::stable_sort(report.findings.begin(), report.findings.end(),
                   [](const ConfigFinding &a, const ConfigFinding &b) {
                     unsigned lineA = a.line > 0 ? static_cast<unsigned>(a.line) : ~0u;
                     unsigned lineB = b.line > 0 ? static_cast<unsigned>(b.line) : ~0u;
                     return lineA < lineB;
                   });
  return report;
}

std::string DescribeSearch(const Prerequisite &p) {
  if (p.searchType == kSearchFile) {
    FileSearchParts parts = SplitFileSearch(p.searchString);
    std::string folder = parts.folder.empty() ? "the current folder" : "'" + parts.folder + "'";
    std::string depth = parts.depth == 0
                            ? "only there"
                            : "and " + std::to_string(parts.depth) + " level(s) of subfolders";
    return "file '" + parts.fileName + "' in " + folder + ", " + depth +
           "; found version: its file version";
  }
  std::string text = p.searchString;
  if (p.searchType == kSearchRegistryValue && !RegistryValueToValueForm(text, &text)) {
    return "registry value: nothing (no backslash)";
  }
  if (p.searchType == kSearchProduct) {
    return "the VersionString of the Windows Installer product " + p.searchString;
  }
  if (p.searchType == kSearchUpgrade) {
    return "the VersionString of every installed product of the UpgradeCode " + p.searchString;
  }
  if (p.searchType != kSearchRegistry && p.searchType != kSearchRegistryValue) {
    return "none (unknown SearchType)";
  }
  RegistrySearchParts parts = SplitRegistrySearch(text);
  if (!parts.ok) {
    return "registry: nothing (no backslash)";
  }
  const int index = static_cast<int>(parts.root);
  const std::string root = (index & 1) != 0 ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
  const std::string view = index >= 4   ? " (32-bit view)"
                           : index >= 2 ? " (64-bit view; nothing on 32-bit Windows)"
                                        : "";
  if (!parts.valueForm) {
    return "subkey names of " + root + "\\" + parts.keyPath + view;
  }
  std::string value =
      parts.valueName.empty() ? "the default value" : "value '" + parts.valueName + "'";
  std::string expected =
      parts.hasExpected ? ", only when its data is '" + parts.expected + "'" : "";
  return "data of " + value + " of " + root + "\\" + parts.keyPath + view + expected;
}
