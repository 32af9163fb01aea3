// Included before every product source of the Windows build. The standard library's bounds
// checks stay, but a failed one ends the process without assembling a message nobody would
// see: the file names, signatures and conditions it would pass were a tenth of the stub.
#pragma once
#include <bits/c++config.h>

#undef __glibcxx_assert_impl
#define __glibcxx_assert_impl(_Condition)                                                          \
  if (__builtin_expect(!bool(_Condition), false)) {                                                \
    __builtin_abort();                                                                             \
  }
