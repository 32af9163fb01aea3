#include <gtest/gtest.h>

#include "download/download_speed.h"

TEST(DownloadSpeed, HundredthsOfKilobytesPerSecond) {
  EXPECT_EQ(ChunkSpeed(8192, 100), 8000u); // 80.00 KB/s
  EXPECT_EQ(ChunkSpeed(1000, 3), 32552u);  // 325.52..., truncated
  EXPECT_EQ(ChunkSpeed(8192, 0), 0u);      // same clock tick
  EXPECT_EQ(ChunkSpeed(8192, 1), 800000u);
  // Across midnight the unsigned difference is huge and the speed about 0.
  uint32_t before = TimeOfDayFromParts(23, 59, 59, 990);
  uint32_t after = TimeOfDayFromParts(0, 0, 0, 5);
  EXPECT_EQ(before, 86399990u);
  EXPECT_EQ(ChunkSpeed(8192, after - before), 0u);
}
