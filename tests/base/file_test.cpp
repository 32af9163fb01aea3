// The host file class: 64-bit offsets and sizes (on a sparse file), and no descriptor left
// open by a File that goes out of scope.
#include <gtest/gtest.h>

#include <dirent.h>
#include <stdlib.h>

#include <string>

#include "base/file.h"

namespace {

int OpenDescriptors() {
  int count = 0;
  DIR *dir = opendir("/proc/self/fd");
  while (dir != nullptr && readdir(dir) != nullptr) {
    ++count;
  }
  if (dir != nullptr) {
    closedir(dir);
  }
  return count;
}

class BaseFile : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/tessara-file-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(system(cmd.c_str()), 0);
  }
  std::string dir_;
};

} // namespace

TEST_F(BaseFile, SeeksAndSizesPast4GiB) {
  const uint64_t far = 5ull * 1024 * 1024 * 1024;
  sys::File file;
  ASSERT_TRUE(file.OpenForAppend(dir_ + "/big"));
  ASSERT_TRUE(file.SeekFromBegin(far));
  uint32_t moved = 0;
  ASSERT_TRUE(file.Write("xyz", 3, &moved));
  uint64_t size = 0;
  ASSERT_TRUE(file.GetSize(&size));
  EXPECT_EQ(size, far + 3);
  ASSERT_TRUE(file.SeekFromBegin(far + 1));
  ASSERT_TRUE(file.Truncate());
  ASSERT_TRUE(file.GetSize(&size));
  EXPECT_EQ(size, far + 1);
}

TEST_F(BaseFile, ClosesWhenItGoesAndCloseCanBeRepeated) {
  int before = OpenDescriptors();
  {
    sys::File file;
    ASSERT_TRUE(file.Create(dir_ + "/a"));
    sys::File reader;
    ASSERT_TRUE(reader.OpenRead(dir_ + "/a"));
    EXPECT_EQ(OpenDescriptors(), before + 2);
  }
  EXPECT_EQ(OpenDescriptors(), before);
  sys::File file;
  ASSERT_TRUE(file.OpenRead(dir_ + "/a"));
  EXPECT_TRUE(file.Close());
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file.IsOpen());
}
