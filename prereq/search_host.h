// The machine as the searches see it: registry, file system and well-known folders. The
// Windows implementation asks the system; tests use an in-memory one.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "base/object_vector.h"
#include "prereq/prerequisite.h"

// The registry roots of the searches. LocalMachine and CurrentUser read the view the setup's own
// bitness sees (a 32-bit setup on 64-bit Windows: the 32-bit one); the others a view named
// explicitly. A 32-bit Windows has no 64-bit view: the searches never ask for one there.
enum class RegRoot {
  LocalMachine,
  CurrentUser,
  LocalMachine64,
  CurrentUser64,
  LocalMachine32,
  CurrentUser32
};
inline bool IsView64(RegRoot root) {
  return root == RegRoot::LocalMachine64 || root == RegRoot::CurrentUser64;
}
inline bool IsView32(RegRoot root) {
  return root == RegRoot::LocalMachine32 || root == RegRoot::CurrentUser32;
}
inline bool IsCurrentUser(RegRoot root) {
  return root == RegRoot::CurrentUser || root == RegRoot::CurrentUser64 ||
         root == RegRoot::CurrentUser32;
}

class SearchHost {
public:
  virtual ~SearchHost() = default;

  // The subkey names of a key in enumeration order; false when the key cannot be opened.
  virtual bool EnumerateSubkeys(RegRoot root, const std::string &keyPath,
                                base::StringList *names) const = 0;
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
  virtual base::StringList ListSubfolders(const std::string &folder) const = 0;

  // Well-known folders; empty when the system cannot give them.
  virtual std::string SystemDirectory() const = 0;
  virtual std::string WindowsDirectory() const = 0;
  virtual std::string TempPath() const = 0;
  // A shell special folder by CSIDL, ending with a backslash.
  virtual std::string SpecialFolder(int csidl) const = 0;

  // The machine's native architecture: a MachineArch bit, 0 for any other.
  virtual uint8_t Architecture() const = 0;
  // SearchFolderTree (search.h) as a program of the machine's own bitness sees the folders: on
  // Windows the file-system redirection of a 32-bit program is turned off around the walk.
  virtual bool SearchFolderTreeNative(const std::string &folder, uint32_t depth,
                                      const std::string &name, std::string *version) const = 0;

  // Windows Installer: an installed product's VersionString (false when it is not installed or
  // cannot be asked), and the ProductCodes of the installed products of an UpgradeCode.
  virtual bool ProductVersion(const std::string &productCode, std::string *version) const = 0;
  virtual base::StringList RelatedProducts(const std::string &upgradeCode) const = 0;
};

// This machine's searches (on the host build, a machine where nothing is installed).
std::unique_ptr<SearchHost> CreatePlatformSearchHost();
