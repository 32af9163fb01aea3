#include "prereq/exit_code_list.h"

int ExitCodeListHas(const std::string &list, uint32_t code) {
  int answer = 0;
  const char *p = list.c_str();
  do {
    while (*p == ' ' || *p == '\t') {
      ++p;
    }
    if (*p < '0' || *p > '9') {
      return -1;
    }
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
      const uint32_t digit = static_cast<uint32_t>(*p - '0');
      if (value > (0xFFFFFFFFu - digit) / 10) {
        return -1;
      }
      value = value * 10 + digit;
    }
    while (*p == ' ' || *p == '\t') {
      ++p;
    }
    answer = value == code ? 1 : answer;
  } while (*p++ == ',');
  // The list ends after its last code, or it holds something else.
  return p[-1] == '\0' ? answer : -1;
}
