#include "prereq/profile_encoding.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/buffer.h"

#ifdef _WIN32
#include <windows.h>

#include "base/win/wide_text.h"
#endif

namespace {

#ifdef _WIN32
using Unit = wchar_t;

// UTF-16 in the ANSI code page, by the system's own converter, which the platform's profile
// reader uses too.
std::string UnitsToAnsi(const wchar_t *units, size_t count) {
  return win::NarrowText(units, static_cast<int>(count), CP_ACP);
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const win::WideText wide(utf8, CP_UTF8);
  return UnitsToAnsi(wide.get(), static_cast<size_t>(wide.size()));
}
#else
using Unit = char16_t;

// Off Windows the ANSI code page is taken to be the Western one (1252).
std::string UnitsToAnsi(const char16_t *units, size_t count) {
  static const char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  out.reserve(count);
  for (size_t n = 0; n < count; ++n) {
    const char16_t u = units[n];
    char c = '?';
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      c = static_cast<char>(u);
    } else {
      for (unsigned k = 0; k < 32; ++k) {
        if (kHigh[k] != 0 && kHigh[k] == u) {
          c = static_cast<char>(0x80 + k);
        }
      }
    }
    out.push_back(c);
  }
  return out;
}

// UTF-8 as the platform's converter reads it: a malformed sequence gives U+FFFD.
std::string Utf8ToAnsi(std::string_view s) {
  // At most one unit a byte: a four-byte sequence gives two.
  base::Buffer<char16_t> units(s.size());
  size_t count = 0;
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0;
    size_t extra = 0;
    if (c < 0x80) {
      cp = c;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1Fu;
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0Fu;
      extra = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07u;
      extra = 3;
    } else {
      units[count++] = 0xFFFD;
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k <= extra && i + k < s.size(); ++k) {
      const unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0u) != 0x80u) {
        break;
      }
      cp = (cp << 6) | (t & 0x3Fu);
    }
    i += k;
    const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (k <= extra || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      units[count++] = 0xFFFD;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      units[count++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      units[count++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      units[count++] = static_cast<char16_t>(cp);
    }
  }
  return UnitsToAnsi(units.get(), count);
}
#endif

// The code units after the two-byte mark, in either byte order; an odd last byte is dropped.
std::string Utf16ToAnsi(std::string_view s, bool bigEndian) {
  base::Buffer<Unit> units((s.size() - 2) / 2);
  for (size_t n = 0; n < units.size(); ++n) {
    const unsigned char first = static_cast<unsigned char>(s[2 + 2 * n]);
    const unsigned char second = static_cast<unsigned char>(s[3 + 2 * n]);
    units[n] = static_cast<Unit>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  return UnitsToAnsi(units.get(), units.size());
}

} // namespace

ProfileEncoding DecodeProfileText(std::string_view raw, std::string *ansi) {
  if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    *ansi = Utf8ToAnsi(raw.substr(3));
    return ProfileEncoding::kUtf8;
  }
  const bool bigEndian = raw.compare(0, 2, "\xFE\xFF") == 0;
  if (!bigEndian && raw.compare(0, 2, "\xFF\xFE") != 0) {
    *ansi = std::string(raw);
    return ProfileEncoding::kAnsi;
  }
  *ansi = Utf16ToAnsi(raw, bigEndian);
  return bigEndian ? ProfileEncoding::kUtf16Be : ProfileEncoding::kUtf16Le;
}

const char *ProfileEncodingName(ProfileEncoding encoding) {
  switch (encoding) {
  case ProfileEncoding::kUtf8:
    return "UTF-8 (byte-order mark EF BB BF)";
  case ProfileEncoding::kUtf16Le:
    return "UTF-16 little-endian (byte-order mark FF FE)";
  case ProfileEncoding::kUtf16Be:
    return "UTF-16 big-endian (byte-order mark FE FF)";
  case ProfileEncoding::kAnsi:
    break;
  }
  return "ANSI (no byte-order mark)";
}
