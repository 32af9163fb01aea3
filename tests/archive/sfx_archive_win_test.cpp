// The archive reader on the real system: Win32 files, backslash folders, clean-up.
#include <gtest/gtest.h>

#include <windows.h>

#include "archive/sfx_archive.h"
#include "tests/support/archive_fixture.h"

namespace {

bool Exists(const std::string &path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ArchiveOnWindows : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = scratch_.folder();
    out_ = folder_ + "out\\";
    ASSERT_TRUE(::CreateDirectoryA(out_.c_str(), nullptr));
  }
  std::string Write(const std::vector<FixtureEntry> &entries, FixtureLayout layout = {}) {
    const std::string path = folder_ + "setup.exe";
    WriteWholeFile(path, BuildSetupBytes(entries, layout));
    return path;
  }
  ScratchFolder scratch_;
  std::string folder_;
  std::string out_;
};

TEST_F(ArchiveOnWindows, ExtractsByteIdenticalAndDeletesWhatItWrote) {
  const std::vector<FixtureEntry> entries = {{kMainPackage, "app.msi", std::string(200000, 'm')},
                                             {kPackageCabinet, "app.cab", "cab"},
                                             {kPackageFile, "empty.dat", ""},
                                             {kConfiguration, "app.ini", "[x]"},
                                             {kPrerequisiteSetup, "pre.exe", "pre"}};
  FixtureLayout layout;
  layout.flags = kHasPrerequisites;
  layout.lead = 123;
  const std::string path = Write(entries, layout);
  {
    SfxArchive archive;
    ASSERT_EQ(archive.SetModulePath(path), kSetupOk);
    archive.setExtractFolder(folder_ + "out"); // the separator is added
    ASSERT_EQ(archive.Open(), kSetupOk);
    EXPECT_EQ(archive.extractFolder(), out_);
    EXPECT_EQ(archive.configPath(), out_ + "app.ini");
    EXPECT_EQ(archive.offsetDelta(), 123);
    EXPECT_TRUE(Exists(out_ + "app.ini"));
    EXPECT_EQ(archive.ModuleFolder(), folder_.substr(0, folder_.size() - 1));
    ASSERT_EQ(archive.ExtractPackageFiles(), kSetupOk);
    EXPECT_FALSE(Exists(out_ + "pre.exe"));
    ASSERT_EQ(archive.ExtractByName("pre.exe"), kSetupOk);
    for (const FixtureEntry &e : entries) {
      EXPECT_EQ(ReadWholeFile(out_ + e.name), e.data) << e.name;
    }
  }
  for (const FixtureEntry &e : entries) {
    EXPECT_FALSE(Exists(out_ + e.name)) << e.name;
  }
}

TEST_F(ArchiveOnWindows, FailuresLeaveNothingBehind) {
  SfxArchive hostile;
  hostile.SetModulePath(Write({{kMainPackage, "..\\up.msi", "x"}}));
  hostile.setExtractFolder(out_);
  EXPECT_EQ(hostile.Open(), kCorrupted);
  EXPECT_EQ(hostile.ExtractAll(), kSetupOk); // nothing was read, nothing is written
  EXPECT_FALSE(Exists(folder_ + "up.msi"));
  EXPECT_EQ(ScratchFolder::Names(folder_ + "out"), std::vector<std::string>());

  // A path of 260 characters or more is refused before any file is created.
  SfxArchive deep;
  deep.SetModulePath(Write({{kMainPackage, std::string(250, 'n') + ".msi", "x"}}));
  deep.setExtractFolder(out_);
  ASSERT_EQ(deep.Open(), kSetupOk);
  EXPECT_EQ(deep.ExtractAll(), kFileError);
  EXPECT_FALSE(deep.isExtracted(0));
  EXPECT_EQ(ScratchFolder::Names(folder_ + "out"), std::vector<std::string>());

  SfxArchive missing;
  missing.SetModulePath(folder_ + "absent.exe");
  missing.setExtractFolder(out_);
  EXPECT_EQ(missing.Open(), kFileError);

  // The running program has a path; a missing folder receives nothing.
  SfxArchive self;
  EXPECT_EQ(self.SetModulePath(std::string()), kSetupOk);
  EXPECT_NE(self.modulePath().find("win_tests.exe"), std::string::npos);
  SfxArchive elsewhere;
  elsewhere.SetModulePath(Write({{kMainPackage, "a.msi", "x"}}));
  elsewhere.setExtractFolder(folder_ + "no\\such\\folder");
  ASSERT_EQ(elsewhere.Open(), kSetupOk);
  EXPECT_EQ(elsewhere.ExtractAll(), kFileError);
  EXPECT_FALSE(elsewhere.isExtracted(0));
}

TEST_F(ArchiveOnWindows, AnEntryNameInTheAnsiCodePageNamesTheFileCreateFileAWould) {
  // "café.msi" in the ANSI code page; the archive's paths are UTF-8 and reach the W functions.
  SfxArchive archive;
  ASSERT_EQ(archive.SetModulePath(Write({{kMainPackage, "caf\xE9.msi", "package"}})), kSetupOk);
  archive.setExtractFolder(out_);
  ASSERT_EQ(archive.Open(), kSetupOk);
  ASSERT_EQ(archive.ExtractPackageFiles(), kSetupOk);
  EXPECT_EQ(ReadWholeFile(out_ + "caf\xE9.msi"), "package");
}

} // namespace
