#include "base/text.h"

#include <cstring>

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

template <class IsBlank> std::string_view TrimIf(std::string_view s, IsBlank isBlank) {
  const char *text = s.data();
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && isBlank(text[begin])) {
    ++begin;
  }
  while (end > begin && isBlank(text[end - 1])) {
    --end;
  }
  return std::string_view(text + begin, end - begin);
}

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

size_t Find(const std::string &s, const char *needle, size_t from) {
  const size_t length = std::strlen(needle);
  if (length == 0) {
    return from <= s.size() ? from : std::string::npos;
  }
  for (size_t i = 0; i < s.size(); i = NextChar(s, i)) {
    if (i >= from && s.compare(i, length, needle, length) == 0) {
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

std::string Lower(const std::string &s) {
  std::string out = s;
  for (char &c : out) {
    c = LowerAscii(c);
  }
  return out;
}

bool EqualNoCase(const std::string &a, const std::string &b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(const std::string &s, std::string_view prefix) {
  if (s.size() < prefix.size()) {
    return false;
  }
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(s.data()[i]) != LowerAscii(prefix.data()[i])) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  return TrimIf(s, [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
  });
}

std::string_view TrimSpacesAndTabs(std::string_view s) {
  return TrimIf(s, [](char c) { return c == ' ' || c == '\t'; });
}

std::string FoldCase(const std::string &s) {
  std::string folded = s;
  for (size_t i = 0; i < folded.size(); i = NextChar(folded, i)) {
    folded.data()[i] = LowerAscii(folded.data()[i]);
  }
  return folded;
}

} // namespace text
