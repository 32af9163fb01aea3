#include "packer/archive_commands.h"

#include <cstdio>

#include "archive/sfx_archive.h"
#include "base/file.h"
#include "base/text.h"
#include "packer/pack_plan.h"
#include "packer/portable_system.h"
#include "packer/stub_archive.h"

namespace {

std::string FlagNames(uint32_t flags) {
  std::string names;
  if ((flags & kExternalFiles) != 0) {
    names += " ExternalFiles";
  }
  if ((flags & kHasPrerequisites) != 0) {
    names += " HasPrerequisites";
  }
  if ((flags & ~static_cast<uint32_t>(kExternalFiles | kHasPrerequisites)) != 0) {
    names += " (other bits set, ignored)";
  }
  return names.empty() ? " none" : names;
}

std::string Field(const char *name, const std::string &value) {
  std::string line = "  ";
  line += name;
  line.append(line.size() < 20 ? 20 - line.size() : 1, ' ');
  return line + value + "\n";
}

std::string PadLeft(const std::string &s, size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string PadRight(const std::string &s, size_t width) {
  return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

PackStatus OpenFailure(const std::string &path, SetupError result) {
  uint64_t size = 0;
  if (!portable::FileSize(path, &size)) {
    return Refused("cannot find the setup '" + path + "'");
  }
  // The setup reports an unreadable file and a missing archive alike; tell them apart here.
  sys::File file;
  CarriedArchive carried;
  if (size <= kMaxArchiveExtent && file.OpenRead(path) &&
      FindCarriedArchive(file, static_cast<uint32_t>(size), &carried) && !carried.found) {
    return Refused("'" + path + "' carries no archive");
  }
  switch (result) {
  case kCorrupted:
    return Refused("the archive of '" + path + "' is corrupted");
  case kUnsupportedVersion:
    return Refused("the archive of '" + path + "' has an unsupported version");
  case kOutOfMemory:
    return IoError("out of memory reading '" + path + "'");
  default:
    return IoError("cannot read the archive of '" + path + "'");
  }
}

std::string WithSeparator(const std::string &folder) {
  if (folder.empty() || folder.back() == '/' || folder.back() == portable::Separator()) {
    return folder;
  }
  return folder + portable::Separator();
}

} // namespace

const char *EntryTypeName(uint32_t type) {
  switch (type) {
  case kMainPackage:
    return "MainPackage";
  case kPackageCabinet:
    return "PackageCabinet";
  case kPackageFile:
    return "PackageFile";
  case kConfiguration:
    return "Configuration";
  case kLanguageTable:
    return "LanguageTable";
  default:
    return "PrerequisiteSetup";
  }
}

PackStatus ListSetup(const std::string &setupPath, std::string *listing) {
  // Opening extracts the configuration of a setup with prerequisites: let it go to a folder of
  // our own, which the archive empties again when it is destroyed.
  const std::string scratch = portable::MakeTempDirectory();
  if (scratch.empty()) {
    return IoError("cannot make a temporary folder");
  }
  PackStatus status;
  {
    SfxArchive archive;
    archive.SetModulePath(setupPath);
    archive.setExtractFolder(scratch);
    const SetupError result = archive.Open();
    if (result != kSetupOk && !(result == kFileError && archive.entries().size() > 0)) {
      status = OpenFailure(setupPath, result);
    } else {
      const ArchiveFooter &footer = archive.footer();
      std::string out = "footer\n";
      out += Field("entryCount", std::to_string(footer.entryCount));
      out += Field("version", std::to_string(footer.version));
      out += Field("footerOffset", std::to_string(footer.footerOffset));
      out += Field("entryTableOffset", std::to_string(footer.entryTableOffset));
      out += Field("dataOffset", std::to_string(footer.dataOffset));
      out += Field("flags", std::to_string(footer.flags) + FlagNames(footer.flags));
      out += Field("offsetDelta", std::to_string(archive.offsetDelta()));
      out += "entries\n";
      out += "  " + PadRight("type", 18) + PadLeft("size", 11) + PadLeft("offset", 11) + "  name\n";
      for (const SfxArchive::Entry &entry : archive.entries()) {
        std::string type = EntryTypeName(entry.header.type);
        if (entry.header.type > kLanguageTable) {
          type += "(" + std::to_string(entry.header.type) + ")";
        }
        out += "  " + PadRight(type, 18) + PadLeft(std::to_string(entry.header.size), 11) +
               PadLeft(std::to_string(entry.header.offset), 11) + "  " + entry.name + "\n";
      }
      *listing = out;
      if (result != kSetupOk) {
        status = IoError("the configuration of '" + setupPath + "' could not be extracted");
      }
    }
  }
  portable::RemoveEmptyDirectory(scratch);
  return status;
}

PackStatus ExtractSetup(const std::string &setupPath, const std::string &folder,
                        std::string *report) {
  if (!portable::IsDirectory(folder) && !portable::MakeDirectory(folder)) {
    return IoError("cannot make the folder '" + folder + "'");
  }
  SfxArchive archive;
  archive.setKeepFiles(true);
  archive.SetModulePath(setupPath);
  archive.setExtractFolder(folder);
  const SetupError result = archive.Open();
  if (result != kSetupOk) {
    return result == kFileError && archive.entries().size() > 0
               ? IoError("cannot write the configuration into '" + folder + "'")
               : OpenFailure(setupPath, result);
  }
  // The setup itself writes the entries of an ExternalFiles setup beside itself; here the
  // folder asked for wins.
  archive.setExtractFolder(WithSeparator(folder));
  const base::ObjectVector<SfxArchive::Entry> &entries = archive.entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (text::FoldCase(entries[i].name) == text::FoldCase(entries[j].name)) {
        std::fprintf(stderr, "tessara-pack: warning: '%s' overwrites '%s' on Windows\n",
                     entries[i].name.c_str(), entries[j].name.c_str());
      }
    }
  }
  const SetupError extracted = archive.ExtractAll();
  size_t written = 0;
  for (const SfxArchive::Entry &entry : entries) {
    if (entry.extracted) {
      ++written;
      *report += portable::JoinPath(folder, entry.name) + " (" + std::to_string(entry.header.size) +
                 " bytes)\n";
    }
  }
  if (extracted != kSetupOk) {
    return IoError("extraction into '" + folder + "' failed after " + std::to_string(written) +
                   " of " + std::to_string(entries.size()) + " entries");
  }
  return PackOk();
}

int RunListCommand(const std::vector<std::string> &args) {
  if (args.size() != 1) {
    return ReportStatus(UsageError("list takes one setup file (see --help)"));
  }
  std::string listing;
  const PackStatus status = ListSetup(args[0], &listing);
  std::fputs(listing.c_str(), stdout);
  return ReportStatus(status);
}

int RunExtractCommand(const std::vector<std::string> &args) {
  if (args.size() != 2) {
    return ReportStatus(UsageError("extract takes a setup file and a folder (see --help)"));
  }
  std::string report;
  const PackStatus status = ExtractSetup(args[0], args[1], &report);
  std::fputs(report.c_str(), stdout);
  return ReportStatus(status);
}
