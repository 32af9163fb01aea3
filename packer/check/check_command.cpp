#include "packer/check/check_command.h"

#include <cstdio>

#include "archive/language_table.h"
#include "archive/sfx_archive.h"
#include "packer/check/config_rules.h"
#include "packer/language/language_check.h"
#include "packer/portable_system.h"
#include "packer/stub_archive.h"
#include "prereq/config_reader.h"
#include "prereq/profile_file.h"
#include "prereq/version_number.h"

namespace {

// Exit codes of "tessara-pack check"; the same numbers as the packer's own.
constexpr int kCheckOk = 0;      // no errors (warnings may have been printed)
constexpr int kCheckUsage = 1;   // the command line is wrong
constexpr int kCheckErrors = 2;  // the configuration has errors
constexpr int kCheckIoError = 3; // the configuration or the setup cannot be read

const char kCheckHelp[] =
    "Usage: tessara-pack check CONFIG.ini [SETUP.exe]\n"
    "       tessara-pack check SETUP.exe\n"
    "       tessara-pack check --language FILE...\n"
    "\n"
    "Reads CONFIG.ini exactly as the setup will read it and prints every prerequisite as it\n"
    "will be read, the general options, why the list of prerequisites ends where it ends, and\n"
    "which prerequisites are carried by the setup and which are downloaded.\n"
    "With SETUP.exe (a packed setup), each SetupFile is also looked up among the prerequisite\n"
    "setups the setup carries. SETUP.exe alone checks the configuration stored inside it, and\n"
    "reads the language tables it carries as the setup reads them.\n"
    "--language reads each language file as the packer reads --language: errors (bytes that\n"
    "are not UTF-8, an unknown section, key or text name, a text given twice or empty, a\n"
    "malformed language id, a text whose {placeholders} differ from the English one's, an\n"
    "unclosed ** in the document) refuse it; every missing text (shown in English) and every\n"
    "access key two texts of one window share is a warning.\n"
    "\n"
    "Errors (the packer refuses such a configuration):\n"
    "  - the file cannot be read\n"
    "  - a [PREREQUISITES] section from which no prerequisite can be read\n"
    "  - a SetupFile that the setup does not carry\n"
    "  - a Sha256 that is not 64 hexadecimal digits\n"
    "  - a Url2, Url3, ... that is not an http:// or https:// address\n"
    "  - a SearchType 3 or 4 whose SearchString is not a {GUID}\n"
    "  - a misspelt 64-bit or 32-bit registry root (hklm64) or 64-bit folder token\n"
    "  - an Architectures word other than x86, x64 and arm64\n"
    "  - a file that is not empty but from which nothing can be read (for instance text in an\n"
    "    encoding without a byte-order mark other than ANSI)\n"
    "Warning with a setup: a carried setup that no SetupFile names (it never runs).\n"
    "Warnings (printed, not fatal): unknown keys and sections, repeated keys and sections,\n"
    "values of 259 characters or more, \"NOT FOUND\" values, numbers with trailing text,\n"
    "SearchType other than 0 to 4, registry roots other than HKLM, HKCU and the 64-bit and\n"
    "32-bit ones, unknown folder tokens, a 32-bit root or folder (HKLM, [SystemFolder], ...)\n"
    "for a prerequisite whose Architectures names 64-bit machines only, a Url without a file\n"
    "name, VerMin above VerMax, bounds without digits, option letters in the wrong case or\n"
    "section, sections past the end of the list, a Url with neither Sha256 nor Signer\n"
    "(loudest for plain http://), a Url with neither ExactSize nor Sha256 nor Signer, a UrlN\n"
    "after a missing one, an empty Signer, a SuccessCodes or RestartCodes that is not a list of\n"
    "comma-separated decimal codes, a SuccessCodes without 0.\n"
    "\n"
    "Exit codes: 0 no errors, 1 usage error, 2 the configuration has errors,\n"
    "            3 the configuration or the setup cannot be read.\n";

const char *TargetOsText(int32_t targetOS) {
  switch (targetOS) {
  case 0:
    return "Windows 95/98/Me family only";
  case 1:
    return "Windows NT family only";
  default:
    return "both families";
  }
}

std::string BoundText(const std::string &bound) {
  if (bound.empty()) {
    return "none";
  }
  VersionNumber v = ParseVersion(bound);
  return "'" + bound + "' (" + (IsEmpty(v) ? std::string("no bound") : VersionText(v)) + ")";
}

void PrintPrerequisite(size_t index, const Prerequisite &p) {
  std::printf("App%zu: %s\n", index + 1, p.name.c_str());
  if (p.sourceKind == SourceKind::SetupFile) {
    std::printf("  source:       carried by the setup as '%s'\n", p.source.c_str());
  } else {
    std::printf("  source:       downloaded from '%s'\n", p.source.c_str());
    for (const std::string &mirror : p.mirrors) {
      std::printf("                or, failing that, from '%s'\n", mirror.c_str());
    }
    std::printf("  exact size:   %u bytes%s\n", p.exactSize,
                p.exactSize != 0    ? ""
                : p.checksContent() ? " (the server's length; the Sha256 or Signer decides)"
                                    : " (only a server that announces no length matches it)");
  }
  std::printf("  command line: '%s'\n", p.commandLine.c_str());
  std::printf("  options:      '%s'%s\n", p.options.c_str(), p.isMandatory() ? " (mandatory)" : "");
  std::printf("  target OS:    %d (%s)\n", p.targetOS, TargetOsText(p.targetOS));
  if (p.architectures != 0) {
    std::string machines;
    for (unsigned i = 0; i < 3; ++i) {
      if ((p.architectures & (1u << i)) != 0) {
        machines += (machines.empty() ? "" : ", ") + std::string(kArchNames[i]);
      }
    }
    std::printf("  machines:     %s only\n", machines.empty() ? "none" : machines.c_str());
  }
  std::printf("  search:       type %d, '%s'\n", p.searchType, p.searchString.c_str());
  std::printf("                looks for %s\n", DescribeSearch(p).c_str());
  std::printf("  VerMin:       %s\n", BoundText(p.verMin).c_str());
  std::printf("  VerMax:       %s\n", BoundText(p.verMax).c_str());
  if (!p.sha256.empty()) {
    std::printf("  Sha256:       %s\n", p.sha256.c_str());
  }
  if (!p.signer.empty()) {
    std::printf("  Signer:       '%s' (the download runs only with a valid signature of it)\n",
                p.signer.c_str());
  }
  std::printf("  exit codes:   success %s; restart %s\n",
              p.successCodes.empty() ? "0,1638,1707" : p.successCodes.c_str(),
              p.restartCodes.empty() ? "3010" : p.restartCodes.c_str());
}

void PrintFindings(const ConfigReport &report, FILE *out) {
  for (const ConfigFinding &f : report.findings) {
    const char *kind = f.severity == ConfigFinding::kError ? "error" : "warning";
    if (f.line > 0) {
      std::fprintf(out, "%s: line %d [%s]: %s\n", kind, f.line, f.where.c_str(), f.message.c_str());
    } else {
      std::fprintf(out, "%s: [%s]: %s\n", kind, f.where.c_str(), f.message.c_str());
    }
  }
}

// Whether path is a setup with an archive rather than a configuration file: only a complete,
// consistent footer counts.
bool IsPackedSetup(const std::string &path) {
  uint64_t size = 0;
  sys::File file;
  CarriedArchive carried;
  return portable::FileSize(path, &size) && size <= kMaxArchiveExtent && file.OpenRead(path) &&
         FindCarriedArchive(file, static_cast<uint32_t>(size), &carried) && carried.found;
}

// A language table of a setup in one line, as the setup reads it.
std::string DescribeLanguageTable(SfxArchive &archive, size_t index) {
  LanguageTable table;
  if (!table.Read(archive, index)) {
    return archive.entries()[index].name + ": damaged or not a language table (the setup "
                                           "passes over it)";
  }
  std::string line =
      archive.entries()[index].name + ": language " + std::to_string(table.language());
  if (table.neutral() != 0) {
    line += ", also primary language " + std::to_string(table.neutral());
  }
  line += table.rightToLeft() ? ", right to left" : "";
  return line + ", " + std::to_string(table.count()) + " texts";
}

// A packed setup read as the setup reads itself: names receives the prerequisite setups it
// carries, languages a line for each language table, and, when config is given, its stored
// configuration is loaded into it. Opening a
// setup with prerequisites extracts its configuration; a read-only command must not write into,
// or delete from, a folder others use (the shared temporary folder may hold the user's own file
// of that name), so it goes into a new folder of our own, removed after. False when the setup
// cannot be opened or, with config, stores no configuration.
bool ReadPackedSetup(const std::string &setupPath, std::vector<std::string> *names,
                     ProfileFile *config, std::vector<std::string> *languages = nullptr) {
  const std::string folder = portable::MakeTempDirectory();
  if (folder.empty()) {
    return false;
  }
  bool read = false;
  {
    SfxArchive archive;
    archive.setExtractFolder(portable::JoinPath(folder, ""));
    if (archive.SetModulePath(setupPath) == kSetupOk && archive.Open() == kSetupOk) {
      int stored = -1;
      for (size_t i = 0; i < archive.entries().size(); ++i) {
        const SfxArchive::Entry &entry = archive.entries()[i];
        if (IsPrerequisiteSetupType(entry.header.type)) {
          names->push_back(entry.name);
        } else if (entry.header.type == kLanguageTable && languages != nullptr) {
          languages->push_back(DescribeLanguageTable(archive, i));
        } else if (entry.header.type == kConfiguration && stored < 0) {
          stored = static_cast<int>(i);
        }
      }
      read = config == nullptr ||
             (stored >= 0 && archive.ExtractEntry(stored, archive.extractFolder()) == kSetupOk &&
              config->Load(archive.extractFolder() +
                           archive.entries()[static_cast<size_t>(stored)].name));
    }
  } // the archive deletes what it extracted
  portable::RemoveEmptyDirectory(folder);
  return read;
}

// A carried setup that no prerequisite's SetupFile names is extracted by nobody and never runs.
void AddUnnamedSetupWarnings(const std::vector<std::string> &setupNames, ConfigReport *report) {
  for (const std::string &name : setupNames) {
    bool named = false;
    for (const Prerequisite &p : report->prerequisites) {
      named = named || (p.sourceKind == SourceKind::SetupFile && p.source == name);
    }
    if (!named) {
      ConfigFinding finding;
      finding.severity = ConfigFinding::kWarning;
      finding.where = "PREREQUISITES";
      finding.message = "the setup carries '" + name +
                        "' but no prerequisite names it as its SetupFile: it is never run";
      report->findings.push_back(finding);
    }
  }
}

// Which prerequisites the setup downloads and which it carries, in one line each.
void PrintSources(const ConfigReport &report) {
  std::string carried;
  std::string downloaded;
  for (size_t i = 0; i < report.prerequisites.size(); ++i) {
    const Prerequisite &p = report.prerequisites[i];
    std::string &list = p.sourceKind == SourceKind::SetupFile ? carried : downloaded;
    list += (list.empty() ? "" : ", ") + AppKeyName(static_cast<uint32_t>(i + 1)) + " (" +
            p.source + ")";
  }
  std::printf("Carried by the setup: %s\n", carried.empty() ? "none" : carried.c_str());
  std::printf("Downloaded while the setup runs: %s\n",
              downloaded.empty() ? "none" : downloaded.c_str());
}

} // namespace

int RunCheckCommand(const std::vector<std::string> &args) {
  for (const std::string &arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kCheckHelp, stdout);
      return kCheckOk;
    }
  }
  if (!args.empty() && args[0] == "--language") {
    return RunLanguageCheck(std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (args.empty() || args.size() > 2) {
    std::fputs(kCheckHelp, stderr);
    return kCheckUsage;
  }
  ProfileFile file;
  ConfigRulesInput input;
  std::vector<std::string> languages;
  std::string label = args[0];
  bool fromSetup = false;
  if (args.size() == 1 && IsPackedSetup(args[0])) {
    // A finished setup: check the configuration it stores against the setups it carries.
    if (!ReadPackedSetup(args[0], &input.setupNames, &file, &languages)) {
      std::fprintf(stderr, "tessara-pack: the setup '%s' stores no configuration\n",
                   args[0].c_str());
      return kCheckIoError;
    }
    input.setupKnown = true;
    fromSetup = true;
    label = "stored in " + args[0];
  } else if (!file.Load(args[0])) {
    std::fprintf(stderr, "tessara-pack: cannot read the configuration '%s'\n", args[0].c_str());
    return kCheckIoError;
  }
  if (args.size() == 2) {
    input.setupKnown = true;
    if (!ReadPackedSetup(args[1], &input.setupNames, nullptr)) {
      std::fprintf(stderr, "tessara-pack: cannot read the archive of the setup '%s'\n",
                   args[1].c_str());
      return kCheckIoError;
    }
  }
  ConfigReport report = ApplyConfigRules(file, input);
  if (input.setupKnown) {
    AddUnnamedSetupWarnings(input.setupNames, &report);
  }
  std::printf("Configuration: %s\n", label.c_str());
  std::printf("Read as: %s\n", ProfileEncodingName(file.encoding()));
  std::printf("GeneralOptions:\n  MainAppCmdLine: '%s'\n  Options:        '%s' (quiet run: %s)\n",
              report.general.mainAppCmdLine.c_str(), report.general.options.c_str(),
              HasOptionLetter(report.general.options, kQuietOption) ? "yes" : "no");
  for (size_t i = 0; i < report.prerequisites.size(); ++i) {
    PrintPrerequisite(i, report.prerequisites[i]);
  }
  std::printf("%zu prerequisite(s); the list ends there: %s.\n", report.prerequisites.size(),
              report.endReason.c_str());
  PrintSources(report);
  if (fromSetup) {
    std::printf("Languages carried: %s\n", languages.empty() ? "none (English only)" : "");
    for (const std::string &line : languages) {
      std::printf("  %s\n", line.c_str());
    }
  }
  if (!input.setupKnown) {
    std::printf("SetupFile names were not compared with a setup (none given).\n");
  }
  std::fflush(stdout);
  PrintFindings(report, stdout);
  std::printf("%d error(s), %d warning(s)\n", report.errorCount(), report.warningCount());
  return report.errorCount() > 0 ? kCheckErrors : kCheckOk;
}

bool CheckConfigurationTextForPack(const std::string &text,
                                   const std::vector<std::string> &setupEntryNames) {
  ProfileFile file;
  file.Parse(text);
  ConfigRulesInput input;
  input.setupKnown = true;
  input.setupNames = setupEntryNames;
  ConfigReport report = ApplyConfigRules(file, input);
  AddUnnamedSetupWarnings(input.setupNames, &report);
  PrintFindings(report, stderr);
  return report.errorCount() == 0;
}
