#include <gtest/gtest.h>

#include <string>

#include "download/download_speed.h"
#include "download/file_name_from_url.h"
#include "download/sha256.h"

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

TEST(Sha256, StandardVectors) {
  EXPECT_EQ(Sha256Hex("", 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc", 3),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  EXPECT_EQ(Sha256Hex(two.data(), two.size()),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  std::string four =
      "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopq"
      "klmnopqrlmnopqrsmnopqrstnopqrstu";
  EXPECT_EQ(Sha256Hex(four.data(), four.size()),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  // One million 'a', fed in uneven pieces to cross block boundaries.
  Sha256 hash;
  std::string piece(997, 'a');
  size_t left = 1000000;
  while (left > 0) {
    size_t n = left < piece.size() ? left : piece.size();
    hash.Update(piece.data(), n);
    left -= n;
  }
  EXPECT_EQ(hash.FinalHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, TextForm) {
  std::string hex = Sha256Hex("abc", 3);
  std::string upper = hex;
  for (char &c : upper) {
    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  }
  EXPECT_TRUE(IsSha256Text(upper));
  EXPECT_TRUE(SameSha256(hex, upper));
  EXPECT_FALSE(IsSha256Text(hex.substr(1)));
  EXPECT_FALSE(IsSha256Text(hex.substr(1) + "g"));
  EXPECT_FALSE(SameSha256(hex, Sha256Hex("abd", 3)));
}

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
