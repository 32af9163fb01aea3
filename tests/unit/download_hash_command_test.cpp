#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/hash_command.h"

TEST(DownloadHashCommand, PrintsTheLineToPasteAndFailsClearly) {
  std::string path = ::testing::TempDir() + "tessara-hash-abc.bin";
  FILE *f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("abc", f);
  std::fclose(f);

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunHashCommand({path}), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Sha256=ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n");
  std::remove(path.c_str());

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunHashCommand({path}), 1); // gone now
  EXPECT_EQ(RunHashCommand({}), 2);
  EXPECT_EQ(RunHashCommand({"a", "b"}), 2);
  EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
}
