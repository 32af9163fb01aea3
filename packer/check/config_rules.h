// The rules of the configuration check: what the run will read from a configuration file, where
// the list of prerequisites ends and why, and what is almost certainly a mistake.
#pragma once
#include <string>
#include <vector>

#include "prereq/prerequisite.h"

class ProfileFile;

struct ConfigFinding {
  enum Severity { kError, kWarning };
  Severity severity = kWarning;
  int line = 0;      // 0 when the finding has no line of its own
  std::string where; // "App2", "GeneralOptions", "file"
  std::string message;
};

struct ConfigReport {
  GeneralOptions general;
  std::vector<Prerequisite> prerequisites;
  // Why the list ends after prerequisites.size() entries.
  std::string endReason;
  std::vector<ConfigFinding> findings;

  int errorCount() const;
  int warningCount() const;
};

struct ConfigRulesInput {
  // Names of the prerequisite setups the setup carries; only looked at when setupKnown.
  bool setupKnown = false;
  std::vector<std::string> setupNames;
};

ConfigReport ApplyConfigRules(const ProfileFile &file, const ConfigRulesInput &input);

// In words: where the search of a prerequisite looks and what it takes as a version.
std::string DescribeSearch(const Prerequisite &p);
