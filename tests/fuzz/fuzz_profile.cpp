// The profile reader and the configuration loader over arbitrary file contents, then the
// decisions and texts built from what was read.
#include "prereq/config_reader.h"
#include "prereq/empty_search_host.h"
#include "prereq/prerequisite_list.h"
#include "prereq/profile_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  ProfileFile file;
  file.Parse(std::string(reinterpret_cast<const char *>(data), size));
  std::string value;
  for (const ProfileFile::Section &section : file.sections()) {
    for (const ProfileFile::Key &key : section.keys) {
      if (ReadConfigValue(file, section.name, key.name, &value)) {
        // A value that is used always fits the 260-byte buffer with its end.
        FUZZ_CHECK(value.size() < kConfigValueBuffer - 1);
        FUZZ_CHECK(value != kNotFound);
      }
    }
  }
  PrerequisiteList list("unused");
  list.LoadConfiguration(file);
  list.RunDetection(EmptySearchHost());
  list.DecideActions(OsFamily::WindowsNT);
  FUZZ_CHECK(list.decisions().size() == list.count());
  for (size_t i = 0; i < list.count(); ++i) {
    const Prerequisite &p = list.prerequisite(i);
    FUZZ_CHECK(p.sourceKind == SourceKind::SetupFile || p.sourceKind == SourceKind::Url);
    const PrereqAction action = list.decision(i);
    // Nothing is found on an empty machine: the prerequisite is needed unless its family is
    // not this one.
    FUZZ_CHECK(action == PrereqAction::NotRequired ||
               action == (p.sourceKind == SourceKind::Url ? PrereqAction::Download
                                                          : PrereqAction::Install));
    FUZZ_CHECK(!list.StatusText(i).empty());
    FUZZ_CHECK(*PrerequisiteList::ActionText(action) != '\0');
    p.isMandatory();
  }
  list.DecideActions(OsFamily::Windows9x);
  list.HasGeneralOption(kQuietOption);
  return 0;
}
