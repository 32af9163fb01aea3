// "tessara-pack check" and the check run while packing.
#include "packer/check/check_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "packer/pack_command.h"
#include "packer/pack_options.h"
#include "tests/support/packer_test_support.h"
#include "tests/support/stub_image_fixture.h"

using packer_test::Filler;
using packer_test::ReadFileBytes;

namespace {

const char kConfig[] = "[PREREQUISITES]\nApp1=Runtime\n[App1]\nSetupFile=runtime.exe\n"
                       "SearchType=1\nSearchString=HKLM\\SOFTWARE\\Vendor\\Runtime\n";

// Points the temporary folder at a folder of the test's own while it lives.
class TemporaryFolderOverride {
public:
  explicit TemporaryFolderOverride(const std::string &folder) {
    const char *old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    old_ = had_ ? old : "";
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderOverride() {
    if (had_) {
      ::setenv("TMPDIR", old_.c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

private:
  bool had_ = false;
  std::string old_;
};

} // namespace

// "tessara-pack check CONFIG SETUP" reads the setup it is given and leaves every other file
// alone: the user's own <package>.ini in the temporary folder survives it.
TEST(CheckCommand, ReadsTheSetupWithoutTouchingTheTemporaryFolder) {
  ScratchFolder work;
  PackOptions options;
  options.stub = work.Add("stub.exe", stub_fixture::MakeStub());
  options.msi = work.Add("app.msi", stub_fixture::CompoundFile(Filler(3000, 2)));
  options.config = work.Add("prereqs.ini", kConfig);
  options.prerequisites = {work.Add("runtime.exe", packer_test::FakeProgram(2000, 3))};
  options.output = work / "setup.exe";
  std::string summary;
  ASSERT_TRUE(Pack(options, &summary).ok());

  ScratchFolder temp;
  const std::string own = temp.Add("app.ini", "the user's own file");
  {
    TemporaryFolderOverride redirect(temp.path());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RunCheckCommand({options.config, options.output}), 0);
    const std::string report = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(report.find("0 error(s)"), std::string::npos) << report;

    // A setup that cannot be read is an error (3), and still nothing is left behind.
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunCheckCommand({options.config, options.stub}), 3);
    ::testing::internal::GetCapturedStdout();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot read the archive"),
              std::string::npos);
  }
  EXPECT_EQ(ReadFileBytes(own), "the user's own file");
  EXPECT_EQ(temp.List(), std::vector<std::string>{"app.ini"});
}

TEST(CheckCommand, NamesTheEncodingAndThePackerRefusesAFileThatReadsAsNothing) {
  std::string utf16;
  for (char c : std::string("[PREREQUISITES]\r\nApp1=A\r\n[App1]\r\nSetupFile=a.exe\r\n"
                            "SearchType=1\r\nSearchString=HKLM\\A\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  const std::string marked = ::testing::TempDir() + "check-utf16.ini";
  const std::string bare = ::testing::TempDir() + "check-utf16-bare.ini";
  const std::string markedText = "\xFF\xFE" + utf16;
  std::ofstream(marked, std::ios::binary) << markedText;
  std::ofstream(bare, std::ios::binary) << utf16;

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunCheckCommand({marked}), 0);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Read as: UTF-16 little-endian (byte-order mark FF FE)"), std::string::npos)
      << out;
  EXPECT_NE(out.find("1 prerequisite(s)"), std::string::npos) << out;
  EXPECT_TRUE(CheckConfigurationTextForPack(markedText, {"a.exe"}));

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunCheckCommand({bare}), 2);
  out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Read as: ANSI (no byte-order mark)"), std::string::npos) << out;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(CheckConfigurationTextForPack(utf16, {"a.exe"}));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("neither a prerequisite"),
            std::string::npos);
  std::remove(marked.c_str());
  std::remove(bare.c_str());
}
