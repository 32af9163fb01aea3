// The install pass without windows: which setups run, in which order, from which path, with
// which parameters, and what the plan reports afterwards.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "archive/sfx_archive.h"
#include "install/install_platform.h"
#include "plan/prereq_plan.h"
#include "prereq/profile_file.h"
#include "tests/support/archive_fixture.h"
#include "tests/support/download_fakes.h"
#include "tests/support/pass_windows_fakes.h"

namespace {

// App1 downloaded, App2 from the archive, App3 found complete; then one of each action that
// runs nothing, and a SetupFile the archive does not hold.
#define S "SearchType=1\nSearchString=HKLM\\Software\\None\n"
const char kConfig[] =
    "[PREREQUISITES]\n"
    "App1=First\nApp2=Second\nApp3=Third\nApp4=Failed\nApp5=Pending\n"
    "App6=Done\nApp7=Declined\nApp8=Other OS\nApp9=Stray\nApp10=Twice\n"
    "[App1]\nUrl=http://h/files/one.exe\nCommandLine=/a \"x y\"\n" S "[App2]\nSetupFile=two.exe\n" S
    "[App3]\nUrl=http://h/files/three.exe\nCommandLine=/q\n" S
    "[App4]\nUrl=http://h/files/four.exe\n" S "[App5]\nUrl=http://h/files/five.exe\n" S
    "[App6]\nSetupFile=two.exe\n" S "[App7]\nSetupFile=two.exe\n" S "[App8]\nSetupFile=two.exe\n" S
    "[App9]\nSetupFile=stray.exe\n" S "[App10]\nSetupFile=two.exe\nCommandLine=/second\n" S;

struct Started {
  std::string path;
  std::string parameters;
  std::string name;
  bool archiveCopyThere; // two.exe lay in the extraction folder when this one started
};

class RecordingInstaller : public InstallPlatform {
public:
  explicit RecordingInstaller(const std::string &extractFolder) : folder_(extractFolder) {}
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch, uint32_t *) override {
    runs.push_back({launch.path, launch.parameters, launch.name,
                    access((folder_ + "two.exe").c_str(), F_OK) == 0});
    return runs.size() != failAt ? SetupStart::Started : SetupStart::NotStarted;
  }

  std::vector<Started> runs;
  size_t failAt = 0; // the run with this 1-based number fails to start; 0 none

private:
  std::string folder_;
};

class InstallPass : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = scratch_.folder();
    extract_ = folder_ + "tmp/";
    mkdir(extract_.c_str(), 0755);
    setupPath_ = folder_ + "setup.exe";
    WriteWholeFile(setupPath_, BuildSetupBytes({{kMainPackage, "app.msi", "msi"},
                                                {kPrerequisiteSetup, "two.exe", "MZ two"}},
                                               FixtureLayout()));
    archive_.SetModulePath(setupPath_);
    archive_.setExtractFolder(extract_);
    ASSERT_EQ(archive_.Open(), kSetupOk);
    ProfileFile file;
    file.Parse(kConfig);
    list_.LoadConfiguration(file);
    list_.DecideActions(OsFamily::WindowsNT);
    ASSERT_EQ(list_.count(), 10u);
  }

  // The actions of the table above, the download folder given without its backslash.
  void Schedule(PrereqPlan &plan) {
    plan.setDownloadFolder("C:\\Downloads");
    const PrereqAction actions[] = {PrereqAction::Downloaded,        PrereqAction::Install,
                                    PrereqAction::AlreadyDownloaded, PrereqAction::DownloadFailed,
                                    PrereqAction::Download,          PrereqAction::Installed,
                                    PrereqAction::DontInstall,       PrereqAction::NotRequired,
                                    PrereqAction::Install,           PrereqAction::Install};
    for (size_t i = 0; i < 10; ++i) {
      plan.setAction(i, actions[i]);
    }
  }

  ScratchFolder scratch_; // first, so it goes last: after the archive's own clean-up
  std::string folder_;
  std::string extract_;
  std::string setupPath_;
  SfxArchive archive_;
  PrerequisiteList list_{"unused.ini"};
  FakePlatform downloads_;
  ScriptedPassWindows windows_;
};

} // namespace

TEST_F(InstallPass, ScheduledSetupsRunInConfigurationOrderAfterEveryExtraction) {
  // A file of the stray name already lies in the temporary folder: it is not ours.
  WriteWholeFile(extract_ + "stray.exe", "not ours");
  RecordingInstaller installer(extract_);
  PrereqPlan plan(archive_, list_, downloads_, installer);
  Schedule(plan);
  plan.installAll();
  EXPECT_EQ(windows_.launchWindows, 0);

  ASSERT_EQ(installer.runs.size(), 4u);
  EXPECT_EQ(installer.runs[0].path, "C:\\Downloads\\one.exe");
  EXPECT_EQ(installer.runs[0].parameters, "/a \"x y\"");
  EXPECT_EQ(installer.runs[0].name, "First");
  EXPECT_EQ(installer.runs[1].path, extract_ + "two.exe");
  EXPECT_EQ(installer.runs[1].parameters, "");
  EXPECT_EQ(installer.runs[1].name, "Second");
  EXPECT_EQ(installer.runs[2].path, "C:\\Downloads\\three.exe");
  EXPECT_EQ(installer.runs[2].parameters, "/q");
  EXPECT_EQ(installer.runs[3].path, extract_ + "two.exe");
  EXPECT_EQ(installer.runs[3].parameters, "/second");
  EXPECT_EQ(installer.runs[3].name, "Twice");
  // App2's file was written before App1, the first setup, started.
  EXPECT_TRUE(installer.runs[0].archiveCopyThere);
  EXPECT_EQ(ReadWholeFile(extract_ + "two.exe"), "MZ two");
  EXPECT_EQ(ReadWholeFile(extract_ + "stray.exe"), "not ours");

  const bool expected[] = {true, true, true, false, false, false, false, false, false, true};
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(plan.setupStarted(i), expected[i]) << "App" << i + 1;
  }
  EXPECT_FALSE(plan.setupStarted(10));
  // The pass changes no action: marking rows installed is the page's business.
  EXPECT_EQ(plan.action(1), PrereqAction::Install);
}

TEST_F(InstallPass, OnlySetupsWhoseProcessStartedCountAsStartedEachPass) {
  RecordingInstaller installer(extract_);
  PrereqPlan plan(archive_, list_, downloads_, installer);
  EXPECT_FALSE(plan.setupStarted(0)); // before any pass
  Schedule(plan);
  installer.failAt = 2; // the shell could not start App2's setup
  plan.installAll(windows_);
  EXPECT_EQ(windows_.launchWindows, 1);
  EXPECT_EQ(installer.runs.size(), 4u);
  EXPECT_TRUE(plan.setupStarted(0));
  EXPECT_FALSE(plan.setupStarted(1));
  EXPECT_TRUE(plan.setupStarted(2));

  // The retry runs only what is still scheduled, and forgets the last pass.
  for (size_t i : {0u, 2u, 9u}) {
    plan.setAction(i, PrereqAction::Installed);
  }
  installer.runs.clear();
  installer.failAt = 0;
  plan.installAll(windows_);
  ASSERT_EQ(installer.runs.size(), 1u);
  EXPECT_EQ(installer.runs[0].name, "Second");
  EXPECT_FALSE(plan.setupStarted(0));
  EXPECT_TRUE(plan.setupStarted(1));

  // Nothing scheduled: the window still opens and closes, nothing counts as started.
  plan.setAction(1, PrereqAction::Installed);
  plan.setAction(8, PrereqAction::DontInstall);
  installer.runs.clear();
  plan.installAll(windows_);
  EXPECT_EQ(windows_.launchWindows, 3);
  EXPECT_TRUE(installer.runs.empty());
  EXPECT_FALSE(plan.setupStarted(1));
}

TEST_F(InstallPass, AFailedExtractionStartsNothingAndACutCopyIsNeverRun) {
  RecordingInstaller installer(extract_);
  PrereqPlan plan(archive_, list_, downloads_, installer);
  for (size_t i = 0; i < 10; ++i) {
    plan.setAction(i, i == 1 ? PrereqAction::Install : PrereqAction::DontInstall);
  }
  // Something that cannot be replaced by a file is in the way: nothing is started.
  mkdir((extract_ + "two.exe").c_str(), 0755);
  plan.installAll();
  EXPECT_TRUE(installer.runs.empty());
  EXPECT_FALSE(plan.setupStarted(1));
  // Out of the way again, a retry extracts and runs it.
  rmdir((extract_ + "two.exe").c_str());
  plan.installAll();
  EXPECT_EQ(installer.runs.size(), 1u);
  EXPECT_TRUE(plan.setupStarted(1));

  // A second archive whose file is cut after opening: the copy ends short.
  SfxArchive cut;
  const std::string cutFolder = folder_ + "cut/";
  mkdir(cutFolder.c_str(), 0755);
  cut.SetModulePath(setupPath_);
  cut.setExtractFolder(cutFolder);
  ASSERT_EQ(cut.Open(), kSetupOk);
  ASSERT_EQ(truncate(setupPath_.c_str(), 5002), 0); // two bytes of "msi" left, none of two.exe
  RecordingInstaller cutInstaller(cutFolder);
  PrereqPlan cutPlan(cut, list_, downloads_, cutInstaller);
  for (size_t i = 0; i < 10; ++i) {
    cutPlan.setAction(i, i == 1 ? PrereqAction::Install : PrereqAction::DontInstall);
  }
  cutPlan.installAll();
  cutPlan.installAll(); // the archive now reports the short file as written
  EXPECT_TRUE(cutInstaller.runs.empty());
  EXPECT_FALSE(cutPlan.setupStarted(1));
  EXPECT_TRUE(cut.isExtracted(1)); // so that the clean-up removes it
}
