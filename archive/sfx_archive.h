// The archive appended to the running setup: footer search, entry table, extraction of
// entries, launch of the main package and clean-up of what was extracted.
#pragma once
#include <cstdint>
#include <string>

#include "archive/archive_format.h"
#include "base/buffer.h"
#include "base/file.h"
#include "base/object_vector.h"

class SfxArchive {
public:
  // One entry of the table.
  struct Entry {
    ArchiveEntry header;
    std::string name; // path text (sys::PathFromAnsi of what the table holds)
    // Written by this run (even when cut short): deleted with the archive.
    bool extracted = false;
  };

  SfxArchive() = default;
  // Closes the executable and, unless keepFiles is set, deletes every extracted file and the
  // run's own folder.
  ~SfxArchive();
  SfxArchive(const SfxArchive &) = delete;
  SfxArchive &operator=(const SfxArchive &) = delete;

  // A non-empty path is taken as it is; an empty one selects the running executable (Windows).
  SetupError SetModulePath(const std::string &path);
  // Needs modulePath and extractFolder; finds the footer, reads the table, and with
  // HasPrerequisites extracts the configuration file.
  SetupError Open();
  // Normal run: the running executable, extracted into a new folder of this run's own inside
  // the user's temporary folder.
  SetupError OpenInTempFolder();

  SetupError ExtractEntry(int index, const std::string &folder);
  SetupError ExtractAll();
  SetupError ExtractPackageFiles();
  SetupError ExtractByName(const std::string &name);
  // The data of entry index (below entries().size()), read into *data when it holds at most
  // maxSize bytes; false when it is larger or cannot be read whole.
  bool ReadEntry(size_t index, uint32_t maxSize, base::Buffer<char> *data);
  void DeleteExtractedFiles();
  // Opens extractFolder + packageBaseName + ".msi" with the shell and waits for the process.
  // Returns 0, or kInstallerNotStarted when no process could be started. exitCode, when
  // given, receives the process's exit code (0 when the shell handed back no process).
  int LaunchPackage(const std::string &parameters, uint32_t *exitCode = nullptr);

  // Index of the first entry whose name (path text) equals name (case-sensitive), -1 if none.
  int FindEntry(const std::string &name) const;
  // modulePath up to, not including, its last backslash; empty when it has none.
  std::string ModuleFolder() const;

  const ArchiveFooter &footer() const { return footer_; }
  uint32_t flags() const { return footer_.flags; }
  const std::string &modulePath() const { return modulePath_; }
  const std::string &extractFolder() const { return extractFolder_; }
  void setExtractFolder(const std::string &folder) { extractFolder_ = folder; }
  const base::ObjectVector<Entry> &entries() const { return entries_; }
  bool isExtracted(size_t index) const {
    return index < entries_.size() && entries_[index].extracted;
  }
  const std::string &packageBaseName() const { return packageBaseName_; }
  const std::string &configPath() const { return configPath_; }
  void setKeepFiles(bool keep) { keepFiles_ = keep; }
  int32_t offsetDelta() const { return offsetDelta_; }
  // The bytes read while searching for the footer (the search reads whole blocks of
  // kFooterSearchBlock bytes).
  uint32_t footerSearchBytesRead() const { return footerSearchBytesRead_; }

private:
  bool HasFlag(uint32_t flag) const { return (footer_.flags & flag) != 0; }
  SetupError LocateFooter();
  SetupError ReadEntryTable();
  // The configuration's path and the package's base name, from the table or (external files)
  // from the setup's own name.
  void AssignKnownFiles();

  ArchiveFooter footer_;
  std::string modulePath_;
  std::string extractFolder_;
  std::string ownFolder_; // made by this run for its files; removed with them
  base::ObjectVector<Entry> entries_;
  sys::File archiveFile_;
  std::string packageBaseName_;
  std::string configPath_;
  bool keepFiles_ = false;
  int32_t offsetDelta_ = 0;
  uint32_t footerSearchBytesRead_ = 0;
};
