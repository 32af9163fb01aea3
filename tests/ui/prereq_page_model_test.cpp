// The prerequisites page without windows: counts and page states, the action combo's items and
// choices, and what the download pass leaves, over a real plan and configuration.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>

#include "archive/sfx_archive.h"
#include "base/text.h"
#include "install/install_platform.h"
#include "plan/prereq_plan.h"
#include "prereq/profile_file.h"
#include "resources/resource.h"
#include "tests/support/download_fakes.h"
#include "tests/support/pass_windows_fakes.h"
#include "tests/support/prereq_fake_machine.h"
#include "ui/prereq_page_model.h"

namespace {

// App1 mandatory from the archive, App2 downloaded, App3 not for this system, App4 from the
// archive, App5 downloaded with a double-byte character in its options whose trail byte is 'm'.
const char kConfig[] = "[PREREQUISITES]\n"
                       "App1=Tool\nApp2=Runtime\nApp3=Old\nApp4=Extra\nApp5=Lib\n"
                       "[App1]\nSetupFile=tool.exe\nOptions=m\nSearchType=1\nSearchString=HKLM\\A\n"
                       "[App2]\nUrl=http://h/files/runtime.exe\nExactSize=5\n"
                       "SearchType=1\nSearchString=HKLM\\B\n"
                       "[App3]\nUrl=http://h/files/old.exe\nTargetOS=0\n"
                       "SearchType=1\nSearchString=HKLM\\C\n"
                       "[App4]\nSetupFile=extra.exe\nSearchType=1\nSearchString=HKLM\\D\n"
                       "[App5]\nUrl=http://h/files/lib.exe\nExactSize=3\nOptions=\x81m\n"
                       "SearchType=1\nSearchString=HKLM\\E\n";

bool ShiftJisLead(unsigned char c) { return c >= 0x81 && c <= 0x9F; }

// Starts every setup but the one named; each started one ends with exitCode.
class FailingInstaller : public InstallPlatform {
public:
  std::string fails;
  std::vector<std::string> started;
  uint32_t exitCode = 0;
  SetupStart RunPrerequisiteSetup(const SetupLaunch &launch, uint32_t *code) override {
    if (launch.name == fails) {
      return SetupStart::NotStarted;
    }
    started.push_back(launch.name);
    *code = exitCode;
    return SetupStart::Started;
  }
};

class PageModel : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/tessara-page-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(archive_.SetModulePath(dir_ + "/setup.exe"), kSetupOk);
    text::SetLeadByteTest(ShiftJisLead);
    ProfileFile file;
    file.Parse(kConfig);
    list_.LoadConfiguration(file);
    list_.RunDetection();
    list_.DecideActions(OsFamily::WindowsNT);
  }
  void TearDown() override {
    text::SetLeadByteTest(nullptr);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(system(cmd.c_str()), 0);
  }

  std::string dir_;
  SfxArchive archive_;
  PrerequisiteList list_{"unused.ini"};
  FakePlatform platform_;
  ScriptedPassWindows windows_;
  FailingInstaller installer_;
};

} // namespace

TEST_F(PageModel, ChoicesMoveThePageBetweenItsThreeStates) {
  PrereqPlan plan(archive_, list_, platform_);
  PrereqPageModel model(plan);
  // Only App1 counts: App5's "m" is the trail byte of a double-byte character.
  EXPECT_EQ(model.mandatoryPending(), 1);
  model.Recount();
  EXPECT_EQ(model.state(), PageState::DownloadsPending);
  EXPECT_EQ(model.downloadCount(), 2);
  EXPECT_EQ(model.installCount(), 2);
  EXPECT_STREQ(PrereqPageModel::HintText(model.state()).english,
               "Please press the Next button to start downloading the prerequisites.");

  // Who opens the combo: not App3 (not required), App1 selects its row but stays closed.
  EXPECT_TRUE(model.SelectsRow(0));
  EXPECT_FALSE(model.OpensCombo(0));
  EXPECT_FALSE(model.SelectsRow(2));
  EXPECT_FALSE(model.OpensCombo(2));
  EXPECT_FALSE(model.SelectsRow(5)); // no such row
  EXPECT_TRUE(model.OpensCombo(4));
  EXPECT_STREQ(model.SecondItemText(1).english, "Download");
  EXPECT_EQ(model.PreselectedItem(1), 1);
  EXPECT_STREQ(model.SecondItemText(3).english, "Install");

  // Neither download wanted: the installs are next.
  model.ApplyActionChoice(1, 0);
  model.ApplyActionChoice(4, 0);
  EXPECT_EQ(plan.action(1), PrereqAction::DontInstall);
  EXPECT_EQ(model.state(), PageState::InstallsPending);
  EXPECT_EQ(model.PreselectedItem(1), 0);
  EXPECT_STREQ(PrereqPageModel::HintText(model.state()).english,
               "Please press the Next button to install the prerequisites.");
  // Next on; Finish off while the mandatory App1 is still to be installed.
  const WizardButtons pending = model.Buttons();
  EXPECT_TRUE(pending.next);
  EXPECT_FALSE(pending.finish);

  // The runtime chosen again while a complete copy lies in the folder: Install, no download.
  std::ofstream(plan.folder() + "runtime.exe", std::ios::binary) << "12345";
  model.ApplyActionChoice(1, 1);
  EXPECT_EQ(plan.action(1), PrereqAction::AlreadyDownloaded);
  EXPECT_STREQ(model.SecondItemText(1).english, "Install");
  EXPECT_EQ(model.PreselectedItem(1), 1);
  EXPECT_EQ(model.state(), PageState::InstallsPending);

  // Nothing left to do: Finished, with Next off and Finish on; Back is left alone.
  model.ApplyActionChoice(0, 0);
  model.ApplyActionChoice(1, 0);
  model.ApplyActionChoice(3, 0);
  EXPECT_EQ(model.state(), PageState::Finished);
  EXPECT_STREQ(PrereqPageModel::HintText(model.state()).english,
               "Please press the Finish button to install the main application.");
  // Finished: Next off, Finish on.
  const WizardButtons finished = model.Buttons();
  EXPECT_FALSE(finished.next);
  EXPECT_TRUE(finished.finish);

  // An installed row keeps "Installed" on "Don't Install" and is scheduled again otherwise.
  plan.setAction(3, PrereqAction::Installed);
  model.ApplyActionChoice(3, 0);
  EXPECT_EQ(plan.action(3), PrereqAction::Installed);
  EXPECT_EQ(model.PreselectedItem(3), 0);
  model.ApplyActionChoice(3, 1);
  EXPECT_EQ(plan.action(3), PrereqAction::Install);
  EXPECT_EQ(model.state(), PageState::InstallsPending);
}

TEST_F(PageModel, DownloadPassResultsAndTheirMessages) {
  PrereqPlan plan(archive_, list_, platform_);
  PrereqPageModel model(plan);
  model.Recount();

  // Aborted, or not started: the text of the result, and every Download stays.
  windows_.downloadResult = DownloadRunResult::Aborted;
  EXPECT_EQ(model.AfterDownloadPass(plan.downloadAll(windows_)), unsigned{IDS_DOWNLOAD_ABORTED});
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
  EXPECT_EQ(model.state(), PageState::DownloadsPending);
  windows_.downloadResult = DownloadRunResult::NotStarted;
  EXPECT_EQ(model.AfterDownloadPass(plan.downloadAll(windows_)),
            unsigned{IDS_DOWNLOAD_NOT_STARTED});
  EXPECT_EQ(plan.action(4), PrereqAction::Download);

  // All attempted, one saved and one that could not be written: the save error is shown.
  windows_.downloadResult = DownloadRunResult::AllAttempted;
  windows_.statuses = {DownloadItemStatus::Ok, DownloadItemStatus::SaveFailed};
  EXPECT_EQ(model.AfterDownloadPass(plan.downloadAll(windows_)), unsigned{IDS_SAVE_ERROR});
  EXPECT_EQ(plan.action(1), PrereqAction::Downloaded);
  EXPECT_EQ(plan.action(4), PrereqAction::DownloadFailed);
  EXPECT_EQ(model.state(), PageState::InstallsPending);
  EXPECT_STREQ(PrerequisiteList::ActionText(plan.action(4)), "Not Found");
  // A failed row is offered "Download" again, not preselected.
  EXPECT_STREQ(model.SecondItemText(4).english, "Download");
  EXPECT_EQ(model.PreselectedItem(4), 0);
}

TEST_F(PageModel, FailedDownloadsFinishUnlessMandatory) {
  PrereqPlan plan(archive_, list_, platform_);
  PrereqPageModel model(plan);
  plan.setAction(0, PrereqAction::DontInstall);
  plan.setAction(3, PrereqAction::DontInstall);
  model.Recount();
  windows_.downloadResult = DownloadRunResult::AllAttempted;
  windows_.statuses = {DownloadItemStatus::ReadFailed, DownloadItemStatus::Failed};
  // Read failures and wrong sizes are not reported by the page.
  EXPECT_EQ(model.AfterDownloadPass(plan.downloadAll(windows_)), 0u);
  EXPECT_EQ(model.state(), PageState::Finished);

  // A mandatory download that failed reads "Not Found" and stays scheduled: Next fetches it
  // again, and Finish stays off until it is installed.
  PrerequisiteList mandatory("unused.ini");
  ProfileFile file;
  file.Parse("[PREREQUISITES]\nApp1=Core\n[App1]\nUrl=http://h/files/core.exe\nExactSize=4\n"
             "Options=m\nSearchType=1\nSearchString=HKLM\\F\n");
  mandatory.LoadConfiguration(file);
  mandatory.RunDetection();
  mandatory.DecideActions(OsFamily::WindowsNT);
  PrereqPlan core(archive_, mandatory, platform_);
  PrereqPageModel coreModel(core);
  coreModel.Recount();
  windows_.statuses = {DownloadItemStatus::Failed};
  EXPECT_EQ(coreModel.AfterDownloadPass(core.downloadAll(windows_)), 0u);
  EXPECT_STREQ(PrerequisiteList::ActionText(core.action(0)), "Not Found");
  EXPECT_EQ(coreModel.state(), PageState::DownloadsPending);
  EXPECT_EQ(coreModel.downloadCount(), 1);
  EXPECT_TRUE(coreModel.MandatoryLeft());
  windows_.statuses = {DownloadItemStatus::Ok};
  EXPECT_EQ(coreModel.AfterDownloadPass(core.downloadAll(windows_)), 0u);
  EXPECT_EQ(core.batch().items().size(), 1u);
  EXPECT_EQ(core.action(0), PrereqAction::Downloaded);
  EXPECT_EQ(coreModel.state(), PageState::InstallsPending);
  EXPECT_TRUE(coreModel.MandatoryLeft());
}

TEST_F(PageModel, ASetupThatCouldNotStartKeepsItsAction) {
  PrereqPlan plan(archive_, list_, platform_, installer_);
  // Every setup installs what its search looks for.
  FakeMachine machine;
  machine.AddKey("HKLM\\B", {"1.0"});
  machine.AddKey("HKLM\\E", {"1.0"});
  plan.setSearchHost(&machine);
  PrereqPageModel model(plan);
  plan.setAction(0, PrereqAction::DontInstall);
  plan.setAction(1, PrereqAction::Downloaded);
  plan.setAction(3, PrereqAction::DontInstall);
  plan.setAction(4, PrereqAction::AlreadyDownloaded);
  model.Recount();
  ASSERT_EQ(model.state(), PageState::InstallsPending);

  // Lib's setup cannot be started: it stays scheduled, so the user may run the pass again.
  installer_.fails = "Lib";
  plan.installAll(windows_);
  EXPECT_FALSE(model.AfterInstallPass());
  EXPECT_EQ(installer_.started, std::vector<std::string>{"Runtime"});
  EXPECT_EQ(plan.action(1), PrereqAction::Installed);
  EXPECT_EQ(plan.action(4), PrereqAction::AlreadyDownloaded);
  EXPECT_EQ(model.state(), PageState::InstallsPending);

  // Run again, it starts but fails: the row reads Failed with its code and stays scheduled.
  installer_.fails.clear();
  installer_.exitCode = 1603;
  plan.installAll(windows_);
  EXPECT_FALSE(model.AfterInstallPass());
  EXPECT_STREQ(PrerequisiteList::ActionText(plan.action(4)), "Failed");
  EXPECT_EQ(plan.exitCode(4), 1603u);
  EXPECT_EQ(plan.list().StatusText(1), "Required: any. Found: 1.0");
  EXPECT_EQ(model.state(), PageState::InstallsPending);

  // Once more with success: everything scheduled has run and the page is finished.
  installer_.exitCode = 0;
  plan.installAll(windows_);
  EXPECT_TRUE(model.AfterInstallPass());
  EXPECT_EQ(plan.action(4), PrereqAction::Installed);
  EXPECT_EQ(model.state(), PageState::Finished);
  EXPECT_EQ(installer_.started, (std::vector<std::string>{"Runtime", "Lib", "Lib"}));
}
