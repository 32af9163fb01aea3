// An in-memory registry and file system for the search tests.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "prereq/search.h"

class FakeMachine : public SearchHost {
public:
  // Registry keys are named by their root ("HKLM\path", "HKCU64\path"); names compare without case.
  void AddKey(const std::string &key, const std::vector<std::string> &subkeys = {}) {
    keys_[Lower(key)].subkeys = subkeys;
  }
  void SetValue(const std::string &key, const std::string &name, const std::string &data) {
    keys_[Lower(key)].values[Lower(name)] = data;
  }
  // A file with a version; its folders are created along the way.
  void AddFile(const std::string &path, const std::string &version = "0.0.0.0") {
    files_[Lower(path)] = version;
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos) {
      AddFolder(path.substr(0, slash + 1));
    }
  }
  // A folder ending with a backslash; linked folders are listed as reparse points.
  void AddFolder(const std::string &folder, bool reparsePoint = false) {
    std::string lower = Lower(folder);
    if (folders_.count(lower) != 0) {
      return;
    }
    folders_[lower].reparse = reparsePoint;
    size_t slash = folder.rfind('\\', folder.size() - 2);
    if (slash != std::string::npos && slash + 1 < folder.size()) {
      std::string parent = folder.substr(0, slash + 1);
      AddFolder(parent);
      folders_[Lower(parent)].children.push_back(
          folder.substr(slash + 1, folder.size() - slash - 2));
    }
  }

  bool EnumerateSubkeys(RegRoot root, const std::string &keyPath,
                        base::StringList *names) const override {
    auto it = keys_.find(Lower(Prefix(root) + keyPath));
    if (it == keys_.end()) {
      return false;
    }
    for (const std::string &subkey : it->second.subkeys) {
      names->push_back(subkey);
    }
    return true;
  }
  bool QueryValueText(RegRoot root, const std::string &keyPath, const std::string &valueName,
                      std::string *data) const override {
    auto it = keys_.find(Lower(Prefix(root) + keyPath));
    if (it == keys_.end()) {
      return false;
    }
    auto value = it->second.values.find(Lower(valueName));
    if (value == it->second.values.end() || value->second.size() > 260) {
      return false;
    }
    *data = value->second;
    return true;
  }
  bool PathExists(const std::string &path) const override {
    ++lookups;
    lookedAt.push_back(path);
    return files_.count(Lower(path)) != 0;
  }
  std::string FileVersionText(const std::string &path) const override {
    auto it = files_.find(Lower(path));
    return it == files_.end() ? "0.0.0.0" : it->second;
  }
  base::StringList ListSubfolders(const std::string &folder) const override {
    base::StringList out;
    auto it = folders_.find(Lower(folder));
    if (it == folders_.end()) {
      return out;
    }
    for (const std::string &child : it->second.children) {
      if (!folders_.at(Lower(folder + child + "\\")).reparse) {
        out.push_back(child);
      }
    }
    return out;
  }
  std::string SystemDirectory() const override { return "C:\\windows\\system32"; }
  std::string WindowsDirectory() const override { return "C:\\windows"; }
  std::string TempPath() const override { return "C:\\users\\me\\Temp\\"; }
  std::string SpecialFolder(int csidl) const override {
    auto it = special.find(csidl);
    return it == special.end() ? std::string() : it->second;
  }

  uint8_t Architecture() const override { return arch; }
  bool SearchFolderTreeNative(const std::string &folder, uint32_t depth, const std::string &name,
                              std::string *version) const override {
    ++nativeWalks;
    return SearchFolderTree(*this, folder, depth, name, version);
  }

  bool ProductVersion(const std::string &code, std::string *version) const override {
    return products.count(code) != 0 && (*version = products.at(code), true);
  }
  base::StringList RelatedProducts(const std::string &code) const override {
    base::StringList codes;
    if (related.count(code) != 0) {
      for (const std::string &product : related.at(code)) {
        codes.push_back(product);
      }
    }
    return codes;
  }
  std::map<std::string, std::string> products;             // ProductCode: VersionString
  std::map<std::string, std::vector<std::string>> related; // UpgradeCode: ProductCodes
  uint8_t arch = kArchX64;
  mutable int nativeWalks = 0;
  std::map<int, std::string> special = {{0x26, "C:\\Program Files"},
                                        {0x2B, "C:\\Program Files\\Common Files\\"}};
  mutable int lookups = 0;
  mutable std::vector<std::string> lookedAt;

private:
  struct KeyNode {
    std::vector<std::string> subkeys;
    std::map<std::string, std::string> values;
  };
  struct FolderNode {
    std::vector<std::string> children;
    bool reparse = false;
  };
  static std::string Prefix(RegRoot root) {
    for (const RegRootName &name : kRegRootNames) {
      if (name.root == root) {
        return Lower(name.name) + "\\";
      }
    }
    return std::string();
  }
  static std::string Lower(std::string s) {
    for (char &c : s) {
      if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
      }
    }
    return s;
  }
  std::map<std::string, KeyNode> keys_;
  std::map<std::string, std::string> files_;
  std::map<std::string, FolderNode> folders_;
};
