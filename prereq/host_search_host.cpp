// The host build has no registry and no Windows folders: its searches find nothing.
#include "prereq/search_host.h"

namespace {

class EmptyMachine : public SearchHost {
public:
  bool EnumerateSubkeys(RegRoot, const std::string &, std::vector<std::string> *) const override {
    return false;
  }
  bool QueryValueText(RegRoot, const std::string &, const std::string &,
                      std::string *) const override {
    return false;
  }
  bool PathExists(const std::string &) const override { return false; }
  std::string FileVersionText(const std::string &) const override { return "0.0.0.0"; }
  std::vector<std::string> ListSubfolders(const std::string &) const override { return {}; }
  std::string SystemDirectory() const override { return std::string(); }
  std::string WindowsDirectory() const override { return std::string(); }
  std::string TempPath() const override { return std::string(); }
  std::string SpecialFolder(int) const override { return std::string(); }
};

} // namespace

std::unique_ptr<SearchHost> CreatePlatformSearchHost() {
  return std::unique_ptr<SearchHost>(new EmptyMachine());
}

OsFamily CurrentOsFamily() { return OsFamily::WindowsNT; }
