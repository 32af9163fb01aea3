// The search strings: split, folder tokens replaced and run against a machine on which every
// path exists, every key has versions and every folder has a subfolder, down to a limit, so
// that a huge depth cannot walk forever.
#include "base/text.h"
#include "prereq/search.h"
#include "prereq/search_host.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class EverythingHost : public SearchHost {
public:
  bool EnumerateSubkeys(RegRoot, const std::string &keyPath,
                        base::StringList *names) const override {
    FUZZ_CHECK(keyPath.size() < sys::kMaxPath);
    *names = {"1.0", "2.5.3", "x"};
    return true;
  }
  bool QueryValueText(RegRoot, const std::string &keyPath, const std::string &,
                      std::string *data) const override {
    FUZZ_CHECK(keyPath.size() < sys::kMaxPath);
    *data = "1.2.3";
    return true;
  }
  bool PathExists(const std::string &path) const override {
    FUZZ_CHECK(path.size() < sys::kMaxPath);
    return true;
  }
  std::string FileVersionText(const std::string &path) const override {
    FUZZ_CHECK(path.size() < sys::kMaxPath);
    return "4.3.2.1";
  }
  base::StringList ListSubfolders(const std::string &folder) const override {
    FUZZ_CHECK(folder.size() < sys::kMaxPath);
    ++listed_;
    return listed_ < 200 ? base::StringList{"sub", "other"} : base::StringList{};
  }
  std::string SystemDirectory() const override { return "C:\\windows\\system32"; }
  std::string WindowsDirectory() const override { return "C:\\windows"; }
  std::string TempPath() const override { return "C:\\users\\u\\Temp\\"; }
  std::string SpecialFolder(int) const override { return "C:\\Program Files\\"; }
  uint8_t Architecture() const override { return kArchX64; }
  bool SearchFolderTreeNative(const std::string &folder, uint32_t depth, const std::string &name,
                              std::string *version) const override {
    return SearchFolderTree(*this, folder, depth, name, version);
  }
  bool ProductVersion(const std::string &code, std::string *version) const override {
    FUZZ_CHECK(code.size() < sys::kMaxPath);
    *version = "2.1.0";
    return true;
  }
  base::StringList RelatedProducts(const std::string &) const override { return {"{A}", "{B}"}; }

private:
  mutable int listed_ = 0;
};

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t mode = in.Byte();
  text::SetLeadByteTest((mode & 0x80) != 0 ? ShiftJisLead : nullptr);
  const std::string search = in.Rest();
  // The configuration never hands out a value of 259 characters or more.
  if (search.size() >= sys::kMaxPath - 1) {
    return 0;
  }
  SplitFileSearch(search);
  const RegistrySearchParts parts = SplitRegistrySearch(search);
  if (parts.ok) {
    FUZZ_CHECK(parts.keyPath.size() <= search.size());
  }
  std::string valueForm;
  RegistryValueToValueForm(search, &valueForm);
  EverythingHost host;
  ExpandFolderTokens(host, search);
  const base::StringList found = RunSearch(host, static_cast<int32_t>(mode & 7), search);
  for (const std::string &version : found) {
    FUZZ_CHECK(version.size() < sys::kMaxPath);
  }
  text::SetLeadByteTest(nullptr);
  return 0;
}
