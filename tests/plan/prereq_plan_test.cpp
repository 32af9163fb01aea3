// PrereqPlan over a real configuration: which actions the download folder and a batch change.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "archive/sfx_archive.h"
#include "download/sha256.h"
#include "plan/prereq_plan.h"
#include "prereq/profile_file.h"
#include "tests/support/download_fakes.h"
#include "tests/support/pass_windows_fakes.h"
#include "tests/support/scratch_folder.h"

namespace {

// App1 from the archive, App2..App4 downloaded (App4 mandatory), App5 not for this system.
const char kConfig[] = "[PREREQUISITES]\n"
                       "App1=Local\nApp2=Runtime\nApp3=Checked\nApp4=Missing\nApp5=Old\n"
                       "[App1]\nSetupFile=local.exe\nSearchType=1\nSearchString=HKLM\\X\n"
                       "[App2]\nUrl=http://h/files/runtime.exe\nExactSize=5\n"
                       "SearchType=1\nSearchString=HKLM\\Y\n"
                       "[App3]\nUrl=http://h/files/checked.exe\nExactSize=3\nSha256=%s\n"
                       "SearchType=1\nSearchString=HKLM\\Z\n"
                       "[App4]\nUrl=http://h/files/missing.exe\nExactSize=1\nOptions=m\n"
                       "SearchType=1\nSearchString=HKLM\\W\n"
                       "[App5]\nUrl=http://h/files/old.exe\nTargetOS=0\n"
                       "SearchType=1\nSearchString=HKLM\\V\n";

class DownloadPlan : public ::testing::Test {
protected:
  void SetUp() override {
    // The setup's folder, inside the scratch folder: the plan's "<folder>\name" files then
    // stay inside it too.
    dir_ = scratch_.path() + "/dist";
    ASSERT_EQ(mkdir(dir_.c_str(), 0700), 0);
    ASSERT_EQ(archive_.SetModulePath(dir_ + "/setup.exe"), kSetupOk);
    std::string good = Sha256Hex("abc", 3);
    char config[2048];
    snprintf(config, sizeof config, kConfig, good.c_str());
    ProfileFile file;
    file.Parse(config);
    list_.LoadConfiguration(file);
    list_.RunDetection();
    list_.DecideActions(OsFamily::WindowsNT);
    platform_.session = &session_;
  }
  // A file where the plan looks for a download: the folder, a backslash, the URL's last
  // segment. On this host the backslash is an ordinary character, so ".../dist\runtime.exe"
  // is a file in the scratch folder.
  void Put(const std::string &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
  }

  ScratchFolder scratch_;
  std::string dir_;
  SfxArchive archive_;
  PrerequisiteList list_{"unused.ini"};
  ScriptedSession session_;
  FakePlatform platform_;
};

} // namespace

TEST_F(DownloadPlan, FolderAndCompleteFilesDecideAlreadyDownloaded) {
  ASSERT_EQ(list_.count(), 5u);
  // Complete copies beside the executable, before the plan exists.
  Put(dir_ + "\\runtime.exe", "12345");
  Put(dir_ + "\\checked.exe", "abd"); // right size, wrong hash
  PrereqPlan plan(archive_, list_, platform_);
  EXPECT_EQ(plan.folder(), dir_ + "\\");
  EXPECT_EQ(plan.action(0), PrereqAction::Install);
  EXPECT_EQ(plan.action(1), PrereqAction::AlreadyDownloaded);
  EXPECT_EQ(plan.action(2), PrereqAction::Download);
  EXPECT_EQ(plan.action(3), PrereqAction::Download);
  EXPECT_EQ(plan.action(4), PrereqAction::NotRequired);
  EXPECT_EQ(plan.decision(1), PrereqAction::Download);
  // The whole file that fails its hash is gone: nothing may run it.
  EXPECT_FALSE(std::ifstream(dir_ + "\\checked.exe").good());

  // Another folder: nothing there; then the right bytes appear.
  std::string other = dir_ + "/other";
  plan.setDownloadFolder(other);
  EXPECT_EQ(plan.folder(), other + "\\");
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
  Put(other + "\\checked.exe", "abc");
  Put(other + "\\runtime.exe", "1234"); // one byte short
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
  EXPECT_EQ(plan.action(2), PrereqAction::AlreadyDownloaded);
  // Actions outside Download/AlreadyDownloaded are left alone.
  plan.setAction(3, PrereqAction::DontInstall);
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(3), PrereqAction::DontInstall);
}

TEST_F(DownloadPlan, SilentDownloadUpdatesEveryFetchedAction) {
  session_.files["http://h/files/runtime.exe"].body = "12345";
  session_.files["http://h/files/checked.exe"].body = "abc";
  session_.files["http://h/files/missing.exe"].body = "xx"; // wrong length
  PrereqPlan plan(archive_, list_, platform_);
  EXPECT_EQ(plan.downloadAll(), DownloadRunResult::AllAttempted);
  EXPECT_EQ(plan.batch().items().size(), 3u);
  EXPECT_EQ(plan.action(0), PrereqAction::Install);
  EXPECT_EQ(plan.action(1), PrereqAction::Downloaded);
  EXPECT_EQ(plan.action(2), PrereqAction::Downloaded);
  EXPECT_EQ(plan.action(3), PrereqAction::DownloadFailed);

  // The mandatory row that failed stays scheduled: nobody can choose Download for it again.
  // An optional one that failed waits for the user's choice.
  plan.setAction(2, PrereqAction::DownloadFailed);
  session_.files["http://h/files/missing.exe"].body = "x";
  EXPECT_EQ(plan.downloadAll(), DownloadRunResult::AllAttempted);
  ASSERT_EQ(plan.batch().items().size(), 1u);
  EXPECT_EQ(plan.action(3), PrereqAction::Downloaded);
  EXPECT_EQ(plan.action(2), PrereqAction::DownloadFailed);
  // Its complete file in the folder makes it AlreadyDownloaded; the optional one's does not.
  plan.setAction(3, PrereqAction::DownloadFailed);
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(3), PrereqAction::AlreadyDownloaded);
  EXPECT_EQ(plan.action(2), PrereqAction::DownloadFailed);

  // A download that cannot be fetched fails alone; the batch goes on with the next.
  std::remove((dir_ + "\\runtime.exe").c_str());
  PrereqPlan again(archive_, list_, platform_);
  session_.files.erase("http://h/files/runtime.exe");
  again.setAction(1, PrereqAction::Download);
  again.setAction(2, PrereqAction::Download);
  EXPECT_EQ(again.downloadAll(), DownloadRunResult::AllAttempted);
  EXPECT_EQ(again.action(1), PrereqAction::DownloadFailed);
  EXPECT_EQ(again.action(2), PrereqAction::Downloaded);
}

TEST_F(DownloadPlan, InteractiveResultLeavesTheActionsToTheCaller) {
  PrereqPlan plan(archive_, list_, platform_);
  ScriptedPassWindows windows;
  windows.downloadResult = DownloadRunResult::Aborted;
  EXPECT_EQ(plan.downloadAll(windows), DownloadRunResult::Aborted);
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
  EXPECT_EQ(plan.batch().items()[0].status, DownloadItemStatus::Pending);
}

// A Browse back and forth must not read an unchanged file again: a file whose bytes changed
// but whose size and time did not keeps its answer; a new time gets a fresh look. Only the
// whole size counts: 4 GiB more than ExactSize is another file.
TEST_F(DownloadPlan, ACandidateIsHashedOncePerVersionAndSizedIn64Bits) {
  Put(dir_ + "\\checked.exe", "abc");
  PrereqPlan plan(archive_, list_, platform_);
  EXPECT_EQ(plan.action(2), PrereqAction::AlreadyDownloaded);

  std::string checked = dir_ + "\\checked.exe";
  struct stat before;
  ASSERT_EQ(stat(checked.c_str(), &before), 0);
  Put(dir_ + "\\checked.exe", "abd");
  struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, checked.c_str(), times, 0), 0);
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(2), PrereqAction::AlreadyDownloaded); // not hashed again

  times[1].tv_sec += 10;
  ASSERT_EQ(utimensat(AT_FDCWD, checked.c_str(), times, 0), 0);
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(2), PrereqAction::Download);

  Put(dir_ + "\\runtime.exe", "");
  ASSERT_EQ(truncate((dir_ + "\\runtime.exe").c_str(), 0x100000000LL + 5), 0);
  plan.refreshDownloaded();
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
}
