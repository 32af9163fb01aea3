#include <gtest/gtest.h>

#include "prereq/config_reader.h"
#include "prereq/prerequisite_list.h"
#include "prereq/profile_file.h"
#include "tests/support/prereq_fake_machine.h"

namespace {

// One prerequisite whose found versions are the subkeys of HKLM\SOFTWARE\P.
std::string Config(const std::string &extra, const std::string &source = "SetupFile=s.exe") {
  return "[PREREQUISITES]\nApp1=P\n[App1]\n" + source +
         "\nSearchType=1\nSearchString=HKLM\\SOFTWARE\\P\n" + extra;
}

struct Decided {
  PrereqAction action;
  std::string status;
};

Decided Decide(const std::string &config, const std::vector<std::string> &found,
               OsFamily family = OsFamily::WindowsNT) {
  ProfileFile file;
  file.Parse(config);
  FakeMachine m;
  m.AddKey("HKLM\\SOFTWARE\\P", found);
  PrerequisiteList list("unused");
  list.LoadConfiguration(file);
  list.RunDetection(m);
  list.DecideActions(family);
  return {list.decision(0), list.StatusText(0)};
}

TEST(Decisions, OperatingSystemFamily) {
  Decided d = Decide(Config("TargetOS=0"), {"1.0"});
  EXPECT_EQ(d.action, PrereqAction::NotRequired);
  EXPECT_EQ(d.status, "Not required for this operating system.");
  EXPECT_STREQ(PrerequisiteList::ActionText(d.action), "Don't Install");
  EXPECT_EQ(Decide(Config("TargetOS=1"), {}).action, PrereqAction::Install);
  EXPECT_EQ(Decide(Config("TargetOS=1"), {}, OsFamily::Windows9x).action,
            PrereqAction::NotRequired);
  EXPECT_EQ(Decide(Config("TargetOS=0"), {}, OsFamily::Windows9x).action, PrereqAction::Install);
  EXPECT_EQ(Decide(Config("TargetOS=7"), {}).action, PrereqAction::Install);
  EXPECT_EQ(Decide(Config("TargetOS=7"), {}, OsFamily::Windows9x).action, PrereqAction::Install);
}

TEST(Decisions, Architectures) {
  EXPECT_EQ(ParseArchitectures("X64,amd64,,x86 x64, arm64 "), kArchListed | kArchArm64);
  auto required = [](const std::string &list, uint8_t arch) {
    ProfileFile file;
    file.Parse(Config(list));
    PrerequisiteList l("unused");
    l.LoadConfiguration(file);
    l.RunDetection(FakeMachine());
    l.DecideActions(OsFamily::WindowsNT, arch);
    return l.decision(0) != PrereqAction::NotRequired;
  };
  EXPECT_FALSE(required("Architectures=x86, arm64", kArchX64));
  EXPECT_FALSE(required("Architectures=x86,x64,arm64", 0)); // another machine
  EXPECT_FALSE(required("Architectures=X64", kArchX64));
  EXPECT_TRUE(required("Architectures=x64,arm64", kArchX64));
  EXPECT_TRUE(required("", 0));
}

TEST(Decisions, FoundVersionsAgainstBounds) {
  Decided d = Decide(Config("VerMin=1.4\nVerMax=1.5"), {"1.3", "1.5.0_06"});
  EXPECT_EQ(d.action, PrereqAction::Install);
  EXPECT_EQ(d.status, "Required: between 1.4 and 1.5. Found: 1.3, 1.5.0_06");
  d = Decide(Config("VerMin=1.4\nVerMax=1.5"), {"1.3", "1.4.2_08"});
  EXPECT_EQ(d.action, PrereqAction::DontInstall);
  EXPECT_EQ(d.status, "Required: between 1.4 and 1.5. Found: 1.3, 1.4.2_08");
  EXPECT_STREQ(PrerequisiteList::ActionText(d.action), "Don't Install");
  d = Decide(Config("", "Url=http://h/x.exe"), {});
  EXPECT_EQ(d.action, PrereqAction::Download);
  EXPECT_EQ(d.status, "Required: any. Found: nothing.");
  EXPECT_EQ(Decide(Config(""), {"no digits"}).action, PrereqAction::DontInstall);
  EXPECT_EQ(Decide(Config("VerMax=1.5"), {"beta"}).action, PrereqAction::DontInstall);
  EXPECT_EQ(Decide(Config("VerMin=0"), {"beta"}).action, PrereqAction::DontInstall);
}

TEST(StatusText, ShowsTheBoundsAsWritten) {
  EXPECT_EQ(Decide(Config("VerMin=2.0"), {}).status, "Required: 2.0 or higher. Found: nothing.");
  EXPECT_EQ(Decide(Config("VerMax=1.5"), {"1.5.0"}).status, "Required: 1.5 or lower. Found: 1.5.0");
  EXPECT_EQ(Decide(Config(""), {"5.1.2600.0"}).status, "Required: any. Found: 5.1.2600.0");
  EXPECT_EQ(Decide(Config("VerMin=0"), {"1"}).status, "Required: 0 or higher. Found: 1");
}

TEST(ActionText, EveryAction) {
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::DontInstall), "Don't Install");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::Install), "Install");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::Download), "Download");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::NotRequired), "Don't Install");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::Downloaded), "Install");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::DownloadFailed), "Not Found");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::AlreadyDownloaded), "Install");
  EXPECT_STREQ(PrerequisiteList::ActionText(PrereqAction::Installed), "Installed");
  EXPECT_EQ(static_cast<int>(PrereqAction::Installed), 8);
}

TEST(NeedsAction, OnlyInstallOrDownload) {
  ProfileFile file;
  file.Parse("[PREREQUISITES]\nApp1=A\nApp2=B\n"
             "[App1]\nSetupFile=a\nSearchType=1\nSearchString=HKLM\\A\n"
             "[App2]\nSetupFile=b\nTargetOS=0\nSearchType=1\nSearchString=HKLM\\B\n");
  FakeMachine m;
  m.AddKey("HKLM\\A", {"1.0"});
  PrerequisiteList list("unused");
  list.LoadConfiguration(file);
  list.RunDetection(m);
  list.DecideActions(OsFamily::WindowsNT);
  EXPECT_EQ(list.decision(0), PrereqAction::DontInstall);
  EXPECT_EQ(list.decision(1), PrereqAction::NotRequired);
  EXPECT_FALSE(list.NeedsAction());
  list.DecideActions(OsFamily::Windows9x);
  EXPECT_TRUE(list.NeedsAction());

  PrerequisiteList empty("unused");
  empty.LoadConfiguration(ProfileFile());
  empty.RunDetection(m);
  empty.DecideActions();
  EXPECT_FALSE(empty.NeedsAction());
}

} // namespace
