// Version-resource texts from the command line, as UTF-16.
#include "packer/version_text.h"

#include <gtest/gtest.h>

TEST(EncodeVersionText, ReadsUtf8AndFallsBackToLatin1) {
  std::vector<uint16_t> units;
  std::string error;
  ASSERT_TRUE(EncodeVersionText("Caf\xC3\xA9", "product name", 63, &units, &error));
  EXPECT_EQ(units, (std::vector<uint16_t>{'C', 'a', 'f', 0xE9}));
  // Not UTF-8: each byte is its Latin-1 character.
  ASSERT_TRUE(EncodeVersionText("Caf\xE9", "product name", 63, &units, &error));
  EXPECT_EQ(units[3], 0xE9);
  // A character beyond the BMP takes two of the 63 units.
  ASSERT_TRUE(EncodeVersionText("\xF0\x9F\x98\x80", "product name", 63, &units, &error));
  EXPECT_EQ(units, (std::vector<uint16_t>{0xD83D, 0xDE00}));
  EXPECT_FALSE(EncodeVersionText(std::string(62, 'a') + "\xF0\x9F\x98\x80", "product name", 63,
                                 &units, &error));
  EXPECT_EQ(error, "the product name has 64 characters; the stub has room for 63");
  EXPECT_FALSE(EncodeVersionText("", "company", 255, &units, &error));
  EXPECT_EQ(error, "the company is empty");
}
