#include "base/text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace text {

namespace {

bool DefaultLeadByteTest(unsigned char c) {
#ifdef _WIN32
  return ::IsDBCSLeadByte(c) != FALSE;
#else
  (void)c;
  return false;
#endif
}

LeadByteTest g_leadByteTest = DefaultLeadByteTest;

} // namespace

void SetLeadByteTest(LeadByteTest test) {
  g_leadByteTest = test != nullptr ? test : DefaultLeadByteTest;
}

bool IsLeadByte(unsigned char c) { return c >= 0x80 && g_leadByteTest(c); }

size_t NextChar(const std::string &s, size_t pos) {
  if (pos >= s.size()) {
    return s.size();
  }
  if (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() && s[pos + 1] != 0) {
    return pos + 2;
  }
  return pos + 1;
}

size_t Find(const std::string &s, const std::string &needle, size_t from) {
  if (needle.empty()) {
    return from <= s.size() ? from : std::string::npos;
  }
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) {
    if (i >= from && s.compare(i, needle.size(), needle) == 0) {
      return i;
    }
  }
  return std::string::npos;
}

size_t FindChar(const std::string &s, char c, size_t from) {
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) {
    if (i >= from && s[i] == c) {
      return i;
    }
  }
  return std::string::npos;
}

size_t FindLastChar(const std::string &s, char c) {
  size_t found = std::string::npos;
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) {
    if (s[i] == c) {
      found = i;
    }
  }
  return found;
}

bool EndsWithBackslash(const std::string &s) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) {
    last = i;
  }
  return last != std::string::npos && last + 1 == s.size() && s[last] == '\\';
}

void EnsureTrailingBackslash(std::string *s) {
  if (!EndsWithBackslash(*s)) {
    s->push_back('\\');
  }
}

void AppendDecimal(std::string *out, uint64_t value) {
  char digits[20];
  size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) {
    *out += digits[--n];
  }
}

std::string Decimal(uint64_t value) {
  std::string out;
  AppendDecimal(&out, value);
  return out;
}

} // namespace text
