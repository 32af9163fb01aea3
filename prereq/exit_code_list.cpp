#include "prereq/exit_code_list.h"

int ExitCodeListHas(const std::string &list, uint32_t code) {
  bool found = false;
  bool digits = false; // the current code has digits
  bool closed = false; // and a blank after them
  uint64_t value = 0;
  for (size_t i = 0; i <= list.size(); ++i) {
    // The end closes the last code as a comma would.
    const char c = i < list.size() ? list[i] : ',';
    if (c >= '0' && c <= '9' && !closed) {
      value = value * 10 + static_cast<uint64_t>(c - '0');
      if (value > 0xFFFFFFFFu) {
        return -1;
      }
      digits = true;
    } else if (c == ',' && digits) {
      found = found || value == code;
      value = 0;
      digits = false;
      closed = false;
    } else if (c == ' ' || c == '\t') {
      closed = digits;
    } else {
      return -1;
    }
  }
  return found ? 1 : 0;
}
