#include "base/text.h"

#include <gtest/gtest.h>

namespace {

TEST(DecimalText, WritesEveryDigitOfTheWholeRange) {
  EXPECT_EQ(text::Decimal(0), "0");
  EXPECT_EQ(text::Decimal(10), "10");
  EXPECT_EQ(text::Decimal(4294967295u), "4294967295");
  EXPECT_EQ(text::Decimal(18446744073709551615ull), "18446744073709551615");
}

TEST(FoldCase, LowersAsciiLettersButNotTrailBytes) {
  EXPECT_EQ(text::FoldCase("Setup.EXE"), "setup.exe");
  text::SetLeadByteTest([](unsigned char c) { return c >= 0x81 && c <= 0x9F; });
  // 0x82 0x41 ("\x82" "A") is one double-byte character: its trail byte is no letter A.
  EXPECT_EQ(text::FoldCase("\x82"
                           "AB"),
            "\x82"
            "Ab");
  text::SetLeadByteTest(nullptr);
}

} // namespace
