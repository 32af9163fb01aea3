#include "packer/pack_command.h"

#include <cstdio>

#include "archive/archive_format.h"
#include "base/file.h"
#include "packer/check/check_command.h"
#include "packer/file_scan.h"
#include "packer/input_kinds.h"
#include "packer/language/language_check.h"
#include "packer/offline_prereqs.h"
#include "packer/pack_layout.h"
#include "packer/pack_plan.h"
#include "packer/pack_writer.h"
#include "packer/pe/setup_branding.h"
#include "packer/portable_system.h"
#include "packer/stub_archive.h"

namespace {

// tessara-stub.exe is tens of kilobytes; a file this large is no stub.
constexpr uint32_t kMaxStubBytes = 16u << 20;

PackStatus InputSize(const std::string &path, const char *role, uint32_t *size) {
  uint64_t bytes = 0;
  if (!portable::FileSize(path, &bytes)) {
    return Refused(std::string("cannot find the ") + role + " '" + path + "'");
  }
  if (bytes > kMaxArchiveExtent) {
    return Refused(std::string("the ") + role + " '" + path + "' is " + std::to_string(bytes) +
                   " bytes; a setup must stay below 2 GiB");
  }
  *size = static_cast<uint32_t>(bytes);
  return PackOk();
}

// The stub's own bytes: without --replace a stub that carries an archive is refused; with it,
// the stub is cut where the old archive began (again, should that one sit on another).
PackStatus MeasureStub(const PackOptions &options, sys::File &stub, uint32_t *stubSize) {
  bool cut = false;
  for (;;) {
    CarriedArchive carried;
    if (!FindCarriedArchive(stub, *stubSize, &carried)) {
      return IoError("cannot read the stub '" + options.stub + "'");
    }
    if (!carried.found) {
      break;
    }
    if (!options.replace) {
      return Refused("the stub '" + options.stub + "' already carries an archive (footer at " +
                     std::to_string(carried.footerPosition) +
                     "); give --replace to pack its program part anew");
    }
    *stubSize = carried.archiveStart;
    cut = true;
  }
  if (cut && *stubSize == 0) {
    return Refused("the stub '" + options.stub + "' holds nothing in front of its archive");
  }
  return PackOk();
}

PackStatus CheckConfiguration(const PackOptions &options, std::vector<PlannedEntry> *entries) {
  if (options.config.empty()) {
    if (!options.prerequisites.empty() && !options.externalFiles) {
      std::fprintf(stderr, "tessara-pack: warning: prerequisite setups without --config are "
                           "never run: the configuration lists them\n");
    }
    return PackOk();
  }
  std::string stored;
  PackStatus status = BuildStoredConfiguration(options, &stored);
  if (!status.ok()) {
    return status;
  }
  std::vector<std::string> setupNames;
  for (PlannedEntry &entry : *entries) {
    if (IsPrerequisiteSetupType(entry.type)) {
      setupNames.push_back(entry.name);
    } else if (entry.type == kConfiguration) {
      entry.fromMemory = true;
      entry.bytes = stored;
      entry.size = static_cast<uint32_t>(stored.size());
    }
  }
  if (!CheckConfigurationTextForPack(stored, setupNames)) {
    return Refused("the configuration '" + options.config + "' has errors; nothing was written");
  }
  return PackOk();
}

// Each language file, read and checked as "check --language" does, becomes its language's
// table, stored after every other entry. Warnings (missing texts, clashing access keys) are
// printed; errors refuse the setup.
PackStatus AddLanguages(const PackOptions &options, std::vector<PlannedEntry> *entries) {
  std::vector<std::pair<uint16_t, std::string>> packed;
  for (const std::string &path : options.languages) {
    if (portable::SameFile(options.output, path)) {
      return Refused("the output '" + options.output + "' is the language file");
    }
    LanguageFile file;
    const PackStatus status = ReadLanguageFile(path, &file);
    PrintLanguageFindings("tessara-pack: " + path, file, stderr);
    if (!status.ok()) {
      return status;
    }
    for (const auto &earlier : packed) {
      if (earlier.first == file.language) {
        return Refused("the language files '" + earlier.second + "' and '" + path +
                       "' both give language " + std::to_string(file.language));
      }
    }
    packed.emplace_back(file.language, path);
    PlannedEntry entry;
    entry.path = path;
    entry.name = LanguageEntryName(file.language);
    entry.type = kLanguageTable;
    entry.fromMemory = true;
    entry.bytes = CompileLanguageFile(file);
    entry.size = static_cast<uint32_t>(entry.bytes.size());
    entries->push_back(entry);
  }
  return PackOk();
}

// The stub's program part, read whole: a stub is small, and its resources may be rewritten.
PackStatus ReadStub(const PackOptions &options, uint32_t stubSize, std::string *stub) {
  if (stubSize > kMaxStubBytes) {
    return Refused("the stub '" + options.stub + "' is " + std::to_string(stubSize) +
                   " bytes: far too large for tessara-stub.exe");
  }
  if (!ReadFileHead(options.stub, stubSize, stub) || stub->size() != stubSize) {
    return IoError("cannot read the stub '" + options.stub + "'");
  }
  return PackOk();
}

} // namespace

PackStatus Pack(const PackOptions &options, std::string *summary) {
  std::vector<PlannedEntry> entries;
  PackStatus status = PlanEntries(options, &entries);
  uint32_t stubSize = 0;
  if (status.ok()) {
    status = InputSize(options.stub, "stub", &stubSize);
  }
  for (size_t i = 0; status.ok() && i < entries.size(); ++i) {
    status = InputSize(entries[i].path, "input file", &entries[i].size);
  }
  // The output replaces its file only at the end, but an input it replaces would be lost.
  if (status.ok() && portable::SameFile(options.output, options.stub)) {
    status = Refused("the output '" + options.output + "' is the stub");
  }
  if (status.ok() && !options.icon.empty() && portable::SameFile(options.output, options.icon)) {
    status = Refused("the output '" + options.output + "' is the icon");
  }
  for (size_t i = 0; status.ok() && i < entries.size(); ++i) {
    if (portable::SameFile(options.output, entries[i].path)) {
      status =
          Refused("the output '" + options.output + "' is the input '" + entries[i].path + "'");
    }
  }
  if (!status.ok()) {
    return status;
  }

  SetupContents contents;
  {
    sys::File stub;
    if (!stub.OpenRead(options.stub)) {
      return IoError("cannot open the stub '" + options.stub + "'");
    }
    status = MeasureStub(options, stub, &stubSize);
  }
  if (status.ok()) {
    status = ReadStub(options, stubSize, &contents.stub);
  }
  if (status.ok()) {
    status = PrepareStub(options, &contents.stub);
  }
  if (status.ok()) {
    status = CheckInputKinds(entries);
  }
  if (status.ok()) {
    status = CheckConfiguration(options, &entries);
  }
  if (status.ok()) {
    status = AddLanguages(options, &entries);
  }
  if (!status.ok()) {
    return status;
  }
  contents.entries = entries;
  contents.flags = PlannedFlags(options);
  status = ComputeLayout(static_cast<uint32_t>(contents.stub.size()), entries, &contents.layout);
  if (!status.ok()) {
    return status;
  }
  uint32_t written = 0;
  status = WriteSetup(contents, options.output, &written);
  if (status.ok()) {
    *summary = "wrote " + options.output + ": " + std::to_string(entries.size()) + " entries, " +
               std::to_string(written) + " bytes";
  }
  return status;
}

int RunPackCommand(const std::vector<std::string> &args) {
  PackOptions options;
  PackStatus status = ParsePackOptions(args, &options);
  std::string summary;
  if (status.ok()) {
    status = Pack(options, &summary);
  }
  if (status.ok()) {
    std::printf("%s\n", summary.c_str());
  }
  return ReportStatus(status);
}
