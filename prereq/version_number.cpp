#include "prereq/version_number.h"

#include "base/text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

VersionNumber ParseVersion(const std::string &text) {
  VersionNumber v;
  // Step whole characters so a trail byte of a double-byte character is never a digit.
  size_t pos = 0;
  while (pos < text.size() && !IsDigit(text[pos])) {
    pos = text::NextChar(text, pos);
  }
  for (int k = 0; k < 4 && pos < text.size(); ++k) {
    uint32_t field = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
      field = field * 10u + static_cast<uint32_t>(text[pos] - '0');
      ++pos;
    }
    v.part[k] = static_cast<int32_t>(field);
    while (pos < text.size() && !IsDigit(text[pos])) {
      pos = text::NextChar(text, pos);
    }
  }
  return v;
}

bool IsEmpty(const VersionNumber &v) {
  return v.part[0] == 0 && v.part[1] == 0 && v.part[2] == 0 && v.part[3] == 0;
}

int Compare(const VersionNumber &a, const VersionNumber &b) {
  for (int i = 0; i < 4; ++i) {
    if (a.part[i] < b.part[i]) {
      return -1;
    }
    if (a.part[i] > b.part[i]) {
      return 1;
    }
  }
  return 0;
}

bool InRange(const VersionNumber &v, const VersionNumber &min, const VersionNumber &max) {
  if (!IsEmpty(min) && Compare(min, v) > 0) {
    return false;
  }
  return IsEmpty(max) || Compare(v, max) <= 0;
}

std::string VersionText(const VersionNumber &v) {
  return std::to_string(v.part[0]) + "." + std::to_string(v.part[1]) + "." +
         std::to_string(v.part[2]) + "." + std::to_string(v.part[3]);
}
