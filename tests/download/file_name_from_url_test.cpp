#include <gtest/gtest.h>

#include "download/file_name_from_url.h"

TEST(DownloadFileName, LastSegmentOfEitherSeparator) {
  EXPECT_EQ(fileNameFromUrl("http://host/path/setup.exe"), "setup.exe");
  EXPECT_EQ(fileNameFromUrl("http://host/a\\b\\setup.exe"), "setup.exe");
  EXPECT_EQ(fileNameFromUrl("http://host/a\\b/c.msi"), "c.msi");
  // A query stays part of the name.
  EXPECT_EQ(fileNameFromUrl("http://host/get/setup.exe?v=2"), "setup.exe?v=2");
  EXPECT_EQ(fileNameFromUrl("http://host/dir/"), "");
  EXPECT_EQ(fileNameFromUrl("setup.exe"), "");
  EXPECT_EQ(DownloadTargetPath("C:\\dl", "http://h/x.exe"), "C:\\dl\\x.exe");
  EXPECT_EQ(DownloadTargetPath("C:\\dl\\", "http://h/x.exe"), "C:\\dl\\x.exe");
}

TEST(DownloadFileName, NamesThatWouldLeaveTheFolderOrExpandAreRefused) {
  EXPECT_TRUE(IsUsableDownloadName("setup.exe"));
  for (const char *bad : {"", ".", "..", "a:b", "*", "set?.exe", "a|b", "a\"b", "<x>", "COM1",
                          "nul.exe", "Lpt3.msi", "setup.exe.", "setup.exe "}) {
    EXPECT_FALSE(IsUsableDownloadName(bad)) << bad;
  }
}
