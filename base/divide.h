// 64-bit division by a 32-bit divisor without the compiler runtime's routine. On a 32-bit build
// every 64-bit division calls that routine, which brings its code and its unwind table into the
// setup; the few divisions the setup makes (decimal text, rates, percentages) are not hot.
#pragma once
#include <cstdint>

// n / d; d must not be 0. *remainder, when given, receives n % d.
uint64_t DivideU64(uint64_t n, uint32_t d, uint32_t *remainder = nullptr);
