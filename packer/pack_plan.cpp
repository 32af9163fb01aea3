#include "packer/pack_plan.h"

#include "archive/archive_format.h"
#include "base/text.h"
#include "packer/portable_system.h"

namespace {

const char *RoleName(uint32_t type) {
  switch (type) {
  case kMainPackage:
    return "package";
  case kPackageCabinet:
    return "cabinet";
  case kPackageFile:
    return "package file";
  case kConfiguration:
    return "configuration";
  case kLanguageTable:
    return "language table";
  default:
    return "prerequisite setup";
  }
}

bool EndsWithMsi(const std::string &name) {
  return name.size() > 4 && text::FoldCase(name.substr(name.size() - 4)) == ".msi";
}

} // namespace

std::string EntryNameProblem(const std::string &name) {
  if (IsSafeEntryName(name)) {
    return std::string();
  }
  if (name.empty()) {
    return "is empty";
  }
  if (name.size() > kMaxEntryNameLength) {
    return "is " + std::to_string(name.size()) + " bytes long; at most " +
           std::to_string(kMaxEntryNameLength) + " are allowed";
  }
  if (name == "." || name == "..") {
    return "is not a file name";
  }
  if (IsReservedDeviceName(name)) {
    return "is a Windows device name (CON, PRN, AUX, NUL, COMn, LPTn), which opens the device "
           "instead of a file";
  }
  if (name.back() == '.' || name.back() == ' ') {
    return "ends in a dot or a space, which Windows strips from file names";
  }
  return "contains \\, /, : or a NUL and is not a bare file name";
}

uint32_t PlannedFlags(const PackOptions &options) {
  uint32_t flags = 0;
  if (options.externalFiles) {
    flags |= kExternalFiles;
  }
  if (!options.config.empty() || options.hasPrerequisitesFlag) {
    flags |= kHasPrerequisites;
  }
  return flags;
}

PackStatus PlanEntries(const PackOptions &options, std::vector<PlannedEntry> *entries) {
  entries->clear();
  auto add = [entries](const std::string &path, uint32_t type, const std::string &name) {
    PlannedEntry entry;
    entry.path = path;
    entry.name = name;
    entry.type = type;
    entries->push_back(entry);
  };
  std::string packageBase;
  if (!options.msi.empty()) {
    const std::string name = portable::BaseName(options.msi);
    if (!EndsWithMsi(name)) {
      return Refused("the package '" + options.msi +
                     "' must be named <name>.msi: the setup launches its base name plus .msi");
    }
    packageBase = name.substr(0, name.size() - 4);
    add(options.msi, kMainPackage, name);
  }
  for (const std::string &path : options.cabinets) {
    add(path, kPackageCabinet, portable::BaseName(path));
  }
  for (const std::string &path : options.files) {
    add(path, kPackageFile, portable::BaseName(path));
  }
  if (!options.config.empty()) {
    // The setup finds its configuration under the package's base name, whatever it was called.
    add(options.config, kConfiguration, packageBase + ".ini");
  }
  for (const std::string &path : options.prerequisites) {
    add(path, kPrerequisiteSetup, portable::BaseName(path));
  }
  for (const OfflinePrereq &offline : options.offlinePrereqs) {
    add(offline.path, kPrerequisiteSetup, portable::BaseName(offline.path));
  }

  for (size_t i = 0; i < entries->size(); ++i) {
    const PlannedEntry &entry = (*entries)[i];
    const std::string problem = EntryNameProblem(entry.name);
    if (!problem.empty()) {
      return Refused(std::string("the ") + RoleName(entry.type) + " name '" + entry.name +
                     "' (from '" + entry.path + "') " + problem);
    }
    for (size_t j = 0; j < i; ++j) {
      const PlannedEntry &earlier = (*entries)[j];
      if (earlier.name == entry.name) {
        return Refused("two entries are named '" + entry.name + "' ('" + earlier.path + "' and '" +
                       entry.path + "')");
      }
      if (text::FoldCase(earlier.name) == text::FoldCase(entry.name)) {
        return Refused("the entries '" + earlier.name + "' and '" + entry.name +
                       "' differ only in case; Windows would extract both to one file");
      }
    }
  }
  return PackOk();
}
