#include <gtest/gtest.h>

#include <string>

#include "packer/hash_command.h"
#include "tests/support/scratch_folder.h"

// Exit codes as docs/packer.md gives them for every command: 1 bad usage, 3 a file that
// cannot be read; each failure is one "tessara-pack:" line on stderr and nothing on stdout.
TEST(DownloadHashCommand, PrintsTheLineToPasteAndFailsClearly) {
  ScratchFolder scratch;
  const std::string path = scratch.Add("abc.bin", "abc");

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunHashCommand({path}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Sha256=ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n");

  const std::string missing = scratch / "missing.bin";
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;
  } failures[] = {
      {{missing}, 3, "tessara-pack: cannot read '" + missing + "'\n"},
      {{scratch.path()}, 3, "tessara-pack: cannot read '" + scratch.path() + "'\n"},
      {{}, 1, "tessara-pack: hash takes one file (usage: tessara-pack hash FILE)\n"},
      {{path, path}, 1, "tessara-pack: hash takes one file (usage: tessara-pack hash FILE)\n"},
  };
  for (const auto &f : failures) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunHashCommand(f.args), f.code) << f.message;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), f.message);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  }
}
