#include <gtest/gtest.h>

#include "ui/download_dialog_text.h"

TEST(DownloadDialogText, SpeedLabel) {
  EXPECT_EQ(DownloadSpeedText(1205), "12.05 KB/s");
  EXPECT_EQ(DownloadSpeedText(0), "0.00 KB/s");
  EXPECT_EQ(DownloadSpeedText(7), "0.07 KB/s");
  EXPECT_EQ(DownloadSpeedText(0xFFFFFFFFu), "42949672.95 KB/s");
}

TEST(DownloadDialogText, PercentageNeverOverflows) {
  EXPECT_EQ(DownloadStatusText(0, 100), "0%");
  EXPECT_EQ(DownloadStatusText(42, 100), "42%");
  // Above 42,949,672 bytes a 32-bit product of bytes x 100 would wrap.
  EXPECT_EQ(DownloadStatusText(50000000, 100000000), "50%");
  EXPECT_EQ(DownloadStatusText(4294967295u, 4294967295u), "100%");
  EXPECT_EQ(DownloadStatusText(4294967294u, 4294967295u), "99%");
  // More than announced (a server without a length).
  EXPECT_EQ(DownloadStatusText(300, 100), "300%");
  // No ExactSize: the bytes received.
  EXPECT_EQ(DownloadStatusText(524288, 0), "512 KB");
  EXPECT_EQ(DownloadStatusText(1023, 0), "0 KB");
}

TEST(DownloadDialogText, ProgressBarsStayInSignedRange) {
  ProgressScale small = ScaleFor(1000);
  EXPECT_EQ(small.Range(1000), 1000);
  EXPECT_EQ(small.Position(500, 1000), 500);
  EXPECT_EQ(small.Position(5000, 1000), 1000); // full, not wrapped
  ProgressScale big = ScaleFor(0xFFFFFFFFu);
  EXPECT_GT(big.Range(0xFFFFFFFFu), 0);
  EXPECT_EQ(big.Position(0xFFFFFFFFu, 0xFFFFFFFFu), big.Range(0xFFFFFFFFu));
  // The sum of several 4 GiB items.
  uint64_t sum = 3ull * 0xFFFFFFFFu;
  ProgressScale total = ScaleFor(sum);
  EXPECT_GT(total.Range(sum), 0x3FFFFFFF);
  EXPECT_EQ(total.Position(sum / 2, sum), total.Range(sum) / 2);
}
