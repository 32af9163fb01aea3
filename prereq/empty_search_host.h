// A machine on which nothing is installed and no folder is known: every search finds nothing.
// The host build's machine, and a base for tests and benchmarks whose decisions should depend
// on the configuration alone.
#pragma once
#include "prereq/search_host.h"

class EmptySearchHost : public SearchHost {
public:
  bool EnumerateSubkeys(RegRoot, const std::string &, base::StringList *) const override {
    return false;
  }
  bool QueryValueText(RegRoot, const std::string &, const std::string &,
                      std::string *) const override {
    return false;
  }
  bool PathExists(const std::string &) const override { return false; }
  std::string FileVersionText(const std::string &) const override { return "0.0.0.0"; }
  base::StringList ListSubfolders(const std::string &) const override { return {}; }
  std::string SystemDirectory() const override { return std::string(); }
  std::string WindowsDirectory() const override { return std::string(); }
  std::string TempPath() const override { return std::string(); }
  std::string SpecialFolder(int) const override { return std::string(); }
  uint8_t Architecture() const override { return kArchX86; }
  bool SearchFolderTreeNative(const std::string &, uint32_t, const std::string &,
                              std::string *) const override {
    return false;
  }
  bool ProductVersion(const std::string &, std::string *) const override { return false; }
  base::StringList RelatedProducts(const std::string &) const override { return {}; }
};
