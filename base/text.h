// Byte strings in the system's ANSI code page. Every search steps whole characters, so a
// trail byte of a double-byte character is never taken for a backslash, quote or digit.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

using LeadByteTest = bool (*)(unsigned char);

// The lead-byte test in force: the system's ANSI code page on Windows, single-byte elsewhere.
// Tests install a double-byte table through SetLeadByteTest (nullptr restores the default).
void SetLeadByteTest(LeadByteTest test);
bool IsLeadByte(unsigned char c);

// Index of the character after the one at pos (a lead byte with no trail byte ends the text).
size_t NextChar(const std::string &s, size_t pos);

// First occurrence of needle starting at a character boundary at or after from; npos if none.
// The needle is a constant of the caller's: no string is made of it.
size_t Find(const std::string &s, const char *needle, size_t from = 0);
// First / last single-byte character c at a character boundary; npos if none.
size_t FindChar(const std::string &s, char c, size_t from = 0);
size_t FindLastChar(const std::string &s, char c);

bool EndsWithBackslash(const std::string &s);
void EnsureTrailingBackslash(std::string *s);

// ASCII case rules: only the letters A-Z and a-z change.
inline char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char16_t UpperAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}
// Every byte lowered, the trail bytes of double-byte characters included: section and key names
// are compared this way.
std::string Lower(const std::string &s);
// Whether Lower(a) == Lower(b).
bool EqualNoCase(const std::string &a, const std::string &b);
bool StartsWithNoCase(const std::string &s, std::string_view prefix);
// Lowered character by character: a trail byte that reads as a letter stays as it is. File
// names are compared this way.
std::string FoldCase(const std::string &s);

// s without the blanks at either end: white space, and Ctrl-Z, which old text files end with
// (the platform's profile reader passes over it too). A view into s: nothing is copied.
std::string_view Trim(std::string_view s);
// s without the spaces and tabs at either end, a view into s.
std::string_view TrimSpacesAndTabs(std::string_view s);

} // namespace text
