// The vendor's configuration check over arbitrary file contents: every finding is well
// formed, and an error-free report agrees with what the setup itself reads.
#include "packer/check/config_rules.h"
#include "prereq/prerequisite_list.h"
#include "prereq/profile_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  ProfileFile file;
  file.Parse(std::string(reinterpret_cast<const char *>(data), size));
  ConfigRulesInput input;
  input.setupKnown = size > 0 && (data[0] & 1) != 0;
  input.setupNames = {"setup.exe", "runtime.exe"};
  const ConfigReport report = ApplyConfigRules(file, input);
  for (const ConfigFinding &finding : report.findings) {
    FUZZ_CHECK(!finding.message.empty() && finding.line >= 0);
  }
  FUZZ_CHECK(!report.endReason.empty());
  PrerequisiteList list("unused");
  list.LoadConfiguration(file);
  // The check lists exactly the prerequisites the setup will read.
  FUZZ_CHECK(list.count() == report.prerequisites.size());
  for (const Prerequisite &p : report.prerequisites) {
    DescribeSearch(p);
  }
  return 0;
}
