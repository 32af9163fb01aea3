#include "base/divide.h"

#include <gtest/gtest.h>

namespace {

TEST(DivideU64, MatchesTheMachinesDivisionAcrossTheRange) {
  const uint64_t numbers[] = {0,
                              1,
                              9,
                              10,
                              4294967295ull,
                              4294967296ull,
                              1000000000000ull,
                              0x8000000000000000ull,
                              18446744073709551615ull};
  const uint32_t divisors[] = {1, 3, 10, 1024, 65537, 0x80000000u, 0xFFFFFFFFu};
  for (uint64_t n : numbers) {
    for (uint32_t d : divisors) {
      uint32_t remainder = 7;
      EXPECT_EQ(DivideU64(n, d, &remainder), n / d) << n << " / " << d;
      EXPECT_EQ(remainder, n % d) << n << " % " << d;
    }
  }
}

} // namespace
