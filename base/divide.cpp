#include "base/divide.h"

uint64_t DivideU64(uint64_t n, uint32_t d, uint32_t *remainder) {
  // Long division a bit at a time: the partial remainder stays below 2 * d, so 64 bits hold it.
  uint64_t quotient = 0;
  uint64_t rest = 0;
  for (int bit = 63; bit >= 0; --bit) {
    rest = (rest << 1) | ((n >> bit) & 1u);
    quotient <<= 1;
    if (rest >= d) {
      rest -= d;
      quotient |= 1u;
    }
  }
  if (remainder != nullptr) {
    *remainder = static_cast<uint32_t>(rest);
  }
  return quotient;
}
