#include "base/text.h"

#include <gtest/gtest.h>

#include "base/text_builder.h"

namespace {

TEST(DecimalText, WritesEveryDigitOfTheWholeRangeAndPadsToAWidth) {
  EXPECT_EQ(text::Builder().AddNumber(0).Take(), "0");
  EXPECT_EQ(text::Builder().AddNumber(10).Take(), "10");
  EXPECT_EQ(text::Builder().AddNumber(4294967295u).Take(), "4294967295");
  EXPECT_EQ(text::Builder().AddNumber(18446744073709551615ull).Take(), "18446744073709551615");
  // Zeros in front up to the width, never a digit cut.
  EXPECT_EQ(text::Builder().Add("t").AddNumber(7, 3).Add('.').AddNumber(1234, 2).Take(),
            "t007.1234");
  EXPECT_EQ(text::Builder().Add({"a", "", "bc"}).AddNumber(0, 2).Take(), "abc00");
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
