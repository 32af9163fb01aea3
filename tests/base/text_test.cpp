#include <gtest/gtest.h>

#include "base/text.h"

TEST(DecimalText, WritesEveryDigitOfTheWholeRange) {
  EXPECT_EQ(text::Decimal(0), "0");
  EXPECT_EQ(text::Decimal(10), "10");
  EXPECT_EQ(text::Decimal(4294967295u), "4294967295");
  EXPECT_EQ(text::Decimal(18446744073709551615ull), "18446744073709551615");
}
