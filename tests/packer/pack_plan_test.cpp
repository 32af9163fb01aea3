#include "packer/pack_plan.h"

#include <gtest/gtest.h>

#include "archive/archive_format.h"
#include "packer/pack_options.h"

namespace {

PackStatus Parse(std::vector<std::string> args, PackOptions *options) {
  return ParsePackOptions(args, options);
}

PackOptions Options(const std::string &msi) {
  PackOptions options;
  options.stub = "stub.exe";
  options.output = "setup.exe";
  options.msi = msi;
  return options;
}

} // namespace

TEST(PackOptions, ParsesEveryOptionAndBothValueForms) {
  PackOptions options;
  ASSERT_TRUE(
      Parse(
          {"--stub",   "s.exe",  "--msi=dir/app.msi", "--cab",     "a.cab",          "--cab=b.cab",
           "--file",   "f.dat",  "--config",          "any.ini",   "--prereq",       "p1.exe",
           "--prereq", "p2.exe", "--external-files",  "--replace", "--product-name", "My App",
           "-o",       "out.exe"},
          &options)
          .ok());
  EXPECT_EQ(options.stub, "s.exe");
  EXPECT_EQ(options.msi, "dir/app.msi");
  EXPECT_EQ(options.cabinets, (std::vector<std::string>{"a.cab", "b.cab"}));
  EXPECT_EQ(options.files, (std::vector<std::string>{"f.dat"}));
  EXPECT_EQ(options.prerequisites, (std::vector<std::string>{"p1.exe", "p2.exe"}));
  EXPECT_EQ(options.output, "out.exe");
  EXPECT_TRUE(options.externalFiles && options.replace && options.hasProductName);
  EXPECT_EQ(options.productName, "My App");
  EXPECT_EQ(PlannedFlags(options), kExternalFiles | kHasPrerequisites);
}

TEST(PackOptions, ReportsBadUsageAsExitCode1) {
  PackOptions options;
  const std::vector<std::vector<std::string>> bad = {
      {"--msi", "a.msi", "-o", "x.exe"},                              // no stub
      {"--stub", "s", "--msi", "a.msi"},                              // no output
      {"--stub", "s", "-o", "x.exe"},                                 // no package
      {"--stub", "s", "--msi", "a.msi", "--msi", "b.msi", "-o", "x"}, // twice
      {"--stub", "s", "--msi", "a.msi", "-o", "x", "--bogus"},
      {"--stub", "s", "--msi", "a.msi", "-o"},
      {"--stub", "s", "--msi", "a.msi", "-o", "x", "--replace=yes"},
      {"--stub", "s", "--msi", "a.msi", "-o", "x", "stray"},
      {"--stub", "s", "--external-files", "--config", "c.ini", "-o", "x"},
  };
  for (const auto &args : bad) {
    const PackStatus status = Parse(args, &options);
    EXPECT_EQ(status.exitCode, kExitUsage) << args.back();
    EXPECT_FALSE(status.message.empty());
  }
  // An ExternalFiles setup needs no package inside.
  EXPECT_TRUE(Parse({"--stub", "s", "--external-files", "-o", "x"}, &options).ok());
  // Marked as having prerequisites but carrying no configuration: every run would fail.
  const PackStatus flagOnly =
      Parse({"--stub", "s", "--msi", "a.msi", "--has-prerequisites", "-o", "x"}, &options);
  EXPECT_EQ(flagOnly.exitCode, kExitRefused);
  EXPECT_NE(flagOnly.message.find("--config"), std::string::npos) << flagOnly.message;
  // Beside the setup is where an ExternalFiles setup finds its configuration.
  EXPECT_TRUE(
      Parse({"--stub", "s", "--external-files", "--has-prerequisites", "-o", "x"}, &options).ok());
}

TEST(PlanEntries, OrdersByTypeAndStoresTheConfigurationUnderThePackageName) {
  PackOptions options = Options("build/Product.MSI");
  options.prerequisites = {"redist/vc.exe"};
  options.config = "conf/anything.cfg";
  options.files = {"readme.txt"};
  options.cabinets = {"cabs/data1.cab", "data2.cab"};
  std::vector<PlannedEntry> entries;
  ASSERT_TRUE(PlanEntries(options, &entries).ok());
  std::vector<std::string> names;
  std::vector<uint32_t> types;
  for (const PlannedEntry &entry : entries) {
    names.push_back(entry.name);
    types.push_back(entry.type);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Product.MSI", "data1.cab", "data2.cab", "readme.txt",
                                             "Product.ini", "vc.exe"}));
  EXPECT_EQ(types, (std::vector<uint32_t>{0, 1, 1, 2, 3, 4}));
  EXPECT_EQ(entries[4].path, "conf/anything.cfg");
  EXPECT_EQ(PlannedFlags(options), static_cast<uint32_t>(kHasPrerequisites));
}

TEST(PlanEntries, RefusesWhatTheSetupCouldNotExtractSafely) {
  struct Case {
    PackOptions options;
    const char *expected;
  };
  std::vector<Case> cases;
  cases.push_back({Options("app.exe"), "must be named <name>.msi"});
  cases.push_back({Options(".msi"), "must be named <name>.msi"});
  PackOptions backslash = Options("app.msi");
  backslash.cabinets = {"dir/sub\\data.cab"};
  cases.push_back({backslash, "not a bare file name"});
  PackOptions colon = Options("app.msi");
  colon.files = {"c:data.bin"};
  cases.push_back({colon, "not a bare file name"});
  PackOptions dots = Options("app.msi");
  dots.files = {"dir/.."};
  cases.push_back({dots, "is not a file name"});
  PackOptions empty = Options("app.msi");
  empty.files = {"dir/"};
  cases.push_back({empty, "is empty"});
  PackOptions longName = Options("app.msi");
  longName.prerequisites = {std::string(256, 'p') + ".exe"};
  cases.push_back({longName, "260 bytes long"});
  PackOptions device = Options("app.msi");
  device.files = {"dir/Com1.log"};
  cases.push_back({device, "is a Windows device name"});
  PackOptions deviceMsi = Options("nul.msi");
  cases.push_back({deviceMsi, "is a Windows device name"});
  PackOptions trailing = Options("app.msi");
  trailing.prerequisites = {"dir/setup.exe."};
  cases.push_back({trailing, "ends in a dot or a space"});
  PackOptions twice = Options("app.msi");
  twice.cabinets = {"a/data.cab", "b/data.cab"};
  cases.push_back({twice, "two entries are named 'data.cab'"});
  PackOptions caseOnly = Options("app.msi");
  caseOnly.files = {"Setup.exe"};
  caseOnly.prerequisites = {"SETUP.EXE"};
  cases.push_back({caseOnly, "differ only in case"});
  PackOptions configClash = Options("app.msi");
  configClash.files = {"app.ini"};
  configClash.config = "other.ini";
  cases.push_back({configClash, "two entries are named 'app.ini'"});

  for (const Case &c : cases) {
    std::vector<PlannedEntry> entries;
    const PackStatus status = PlanEntries(c.options, &entries);
    EXPECT_EQ(status.exitCode, kExitRefused) << c.expected;
    EXPECT_NE(status.message.find(c.expected), std::string::npos) << status.message;
  }

  // 259 bytes is the longest name allowed.
  PackOptions longest = Options("app.msi");
  longest.prerequisites = {std::string(255, 'p') + ".exe"};
  std::vector<PlannedEntry> entries;
  EXPECT_TRUE(PlanEntries(longest, &entries).ok());
}
