#include <gtest/gtest.h>

#include "base/text.h"
#include "prereq/version_number.h"

namespace {

std::string Parsed(const std::string &text) { return VersionText(ParseVersion(text)); }

TEST(VersionNumber, PicksTheFirstFourRunsOfDigits) {
  EXPECT_EQ(Parsed("1.4"), "1.4.0.0");
  EXPECT_EQ(Parsed("1.4.2_08"), "1.4.2.8");
  EXPECT_EQ(Parsed("1.4.2.8"), "1.4.2.8");
  EXPECT_EQ(Parsed("version 2.0 build 512"), "2.0.512.0");
  EXPECT_EQ(Parsed("10.0.1.2.3"), "10.0.1.2");
  EXPECT_EQ(Parsed("1..2"), "1.2.0.0");
  EXPECT_EQ(Parsed("2008-01-15"), "2008.1.15.0");
  EXPECT_EQ(Parsed("1.4-beta"), "1.4.0.0");
  EXPECT_TRUE(IsEmpty(ParseVersion("abc")));
  EXPECT_TRUE(IsEmpty(ParseVersion("")));
  EXPECT_TRUE(IsEmpty(ParseVersion("0.0")));
}

TEST(VersionNumber, HugeRunsWrapInsteadOfFailing) {
  // 4294967296 wraps to 0; 4294967295 reads as -1 in a signed field.
  EXPECT_EQ(Parsed("4294967296.4294967295"), "0.-1.0.0");
}

TEST(VersionNumber, CompareIsFieldBySignedField) {
  EXPECT_EQ(Compare(ParseVersion("1.4"), ParseVersion("1.4.2_08")), -1);
  EXPECT_EQ(Compare(ParseVersion("1.4.2_08"), ParseVersion("1.4.2.8")), 0);
  EXPECT_EQ(Compare(ParseVersion("1.4.2.8.9"), ParseVersion("1.4.2.8")), 0);
  EXPECT_EQ(Compare(ParseVersion("2"), ParseVersion("1.9")), 1);
}

TEST(VersionNumber, RangeBetweenBounds) {
  VersionNumber min = ParseVersion("1.4");
  VersionNumber max = ParseVersion("1.5");
  EXPECT_TRUE(InRange(ParseVersion("1.4"), min, max));
  EXPECT_TRUE(InRange(ParseVersion("1.4.2_08"), min, max));
  EXPECT_TRUE(InRange(ParseVersion("1.5"), min, max));
  EXPECT_FALSE(InRange(ParseVersion("1.5.0_06"), min, max));
  EXPECT_FALSE(InRange(ParseVersion("1.3.1"), min, max));
}

TEST(VersionNumber, EmptyBoundsDoNotLimit) {
  VersionNumber none;
  VersionNumber max = ParseVersion("1.5");
  EXPECT_TRUE(InRange(ParseVersion("1.5.0.0"), none, max));
  EXPECT_FALSE(InRange(ParseVersion("1.5.0.1"), none, max));
  EXPECT_TRUE(InRange(ParseVersion("0.9"), none, max));
  EXPECT_TRUE(InRange(ParseVersion("no digits"), none, max));
  EXPECT_TRUE(InRange(ParseVersion("0.1"), ParseVersion("0.0"), none));
  EXPECT_TRUE(InRange(none, none, none));
}

// Shift-JIS style: 0x81-0x9F and 0xE0-0xFC lead a two-byte character.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(VersionNumber, TrailBytesOfDoubleByteCharactersAreNotDigits) {
  text::SetLeadByteTest(ShiftJisLead);
  // 0x83 0x31 is one character whose trail byte is the code of '1'.
  EXPECT_EQ(Parsed("\x83\x31\x83\x32 2.5"), "2.5.0.0");
  EXPECT_EQ(Parsed("1\x83\x33\x83\x34.7"), "1.7.0.0");
  EXPECT_TRUE(IsEmpty(ParseVersion("\x88\x31\x88\x39")));
  text::SetLeadByteTest(nullptr);
  // Without the table the same bytes are single characters.
  EXPECT_EQ(Parsed("\x83\x31\x83\x32 2.5"), "1.2.2.5");
}

} // namespace
