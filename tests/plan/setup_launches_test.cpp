// The setups an install pass runs from the download folder: the folder's backslash, and the
// download names that run nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/sfx_archive.h"
#include "plan/setup_launches.h"
#include "prereq/profile_file.h"

#define S "SearchType=1\nSearchString=HKLM\\Software\\None\n"

TEST(SetupLaunches, DownloadFolderGetsItsBackslashAndUnusableNamesRunNothing) {
  ProfileFile file;
  file.Parse("[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\n"
             "[App1]\nUrl=http://h/a.exe\n" S "[App2]\nUrl=http://h/dir/\n" S
             "[App3]\nUrl=http://h/..\n" S);
  PrerequisiteList list("unused.ini");
  list.LoadConfiguration(file);
  SfxArchive archive;
  base::StringList bad;
  const base::ObjectVector<SetupLaunch> launches = BuildSetupLaunches(
      archive, list,
      {PrereqAction::Downloaded, PrereqAction::AlreadyDownloaded, PrereqAction::Downloaded},
      "D:\\Setups", &bad);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].path, "D:\\Setups\\a.exe");
  EXPECT_EQ(launches[0].prereqIndex, 0u);
}
