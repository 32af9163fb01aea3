// PrereqPlan's look into the download folder with FindFirstFileA, on a real Windows path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "archive/sfx_archive.h"
#include "download/sha256.h"
#include "plan/prereq_plan.h"
#include "prereq/profile_file.h"

namespace {

void Put(const std::string &path, const std::string &content) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(h);
}

} // namespace

TEST(DownloadPlanWin, CompleteFilesInTheFolderAreAlreadyDownloaded) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "tessara-plan-test";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  std::string config =
      "[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\nApp4=D\n"
      "[App1]\nUrl=http://h/x/a.exe\nExactSize=3\nSearchType=1\nSearchString=HKLM\\A\n"
      "[App2]\nUrl=http://h/x/b.exe\nExactSize=3\nSha256=" +
      Sha256Hex("bbb", 3) +
      "\nSearchType=1\nSearchString=HKLM\\B\n"
      "[App3]\nUrl=http://h/x/*\nExactSize=3\nSearchType=1\nSearchString=HKLM\\C\n"
      "[App4]\nUrl=http://h/x/d.exe\nExactSize=3\nSearchType=1\nSearchString=HKLM\\D\n";
  ProfileFile file;
  file.Parse(config);
  PrerequisiteList list("unused.ini");
  list.LoadConfiguration(file);
  list.DecideActions(OsFamily::WindowsNT); // nothing searched: every Url is a Download
  ASSERT_EQ(list.count(), 4u);

  Put(folder + "\\a.exe", "aaa");
  Put(folder + "\\b.exe", "bbx");  // right size, wrong hash
  Put(folder + "\\d.exe", "dddd"); // wrong size
  SfxArchive archive;
  archive.SetModulePath(folder + "\\setup.exe");
  PrereqPlan plan(archive, list);
  EXPECT_EQ(plan.folder(), folder + "\\");
  EXPECT_EQ(plan.action(0), PrereqAction::AlreadyDownloaded);
  EXPECT_EQ(plan.action(1), PrereqAction::Download);
  // A wildcard name must not match whatever lies in the folder.
  EXPECT_EQ(plan.action(2), PrereqAction::Download);
  EXPECT_EQ(plan.action(3), PrereqAction::Download);

  Put(folder + "\\b.exe", "bbb");
  plan.setDownloadFolder(folder);
  EXPECT_EQ(plan.action(1), PrereqAction::AlreadyDownloaded);

  for (const char *name : {"a.exe", "b.exe", "d.exe"}) {
    ::DeleteFileA((folder + "\\" + name).c_str());
  }
  ::RemoveDirectoryA(folder.c_str());
}
