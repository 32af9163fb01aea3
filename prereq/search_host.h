// The machine as the searches see it: registry, file system and well-known folders. The
// Windows implementation asks the system; tests use an in-memory one.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "prereq/prerequisite_list.h"

enum class RegRoot { LocalMachine, CurrentUser };

class SearchHost {
public:
  virtual ~SearchHost() = default;

  // The subkey names of a key in enumeration order; false when the key cannot be opened.
  virtual bool EnumerateSubkeys(RegRoot root, const std::string &keyPath,
                                std::vector<std::string> *names) const = 0;
  // A value's data as text up to its first zero byte (empty name: the default value); false
  // when the key or value is missing or the data does not fit 260 bytes.
  virtual bool QueryValueText(RegRoot root, const std::string &keyPath,
                              const std::string &valueName, std::string *data) const = 0;

  // Whether a path (wildcards allowed) names an existing file or folder.
  virtual bool PathExists(const std::string &path) const = 0;
  // "%d.%d.%d.%d" from the file's version resource; "0.0.0.0" when it has none.
  virtual std::string FileVersionText(const std::string &path) const = 0;
  // The subfolders of a folder ending with a backslash, in listing order, without "." and
  // "..", and without junctions and symbolic links (a walk must not loop through them).
  virtual std::vector<std::string> ListSubfolders(const std::string &folder) const = 0;

  // Well-known folders; empty when the system cannot give them.
  virtual std::string SystemDirectory() const = 0;
  virtual std::string WindowsDirectory() const = 0;
  virtual std::string TempPath() const = 0;
  // A shell special folder by CSIDL, ending with a backslash.
  virtual std::string SpecialFolder(int csidl) const = 0;
};

// This machine's searches (on the host build, a machine where nothing is installed).
std::unique_ptr<SearchHost> CreatePlatformSearchHost();
// The family GetVersion reports (the host build counts as the NT family).
OsFamily CurrentOsFamily();
