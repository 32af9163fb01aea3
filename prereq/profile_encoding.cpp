#include "prereq/profile_encoding.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// UTF-16 code units are kept as little-endian byte pairs in a string, whose code the setup
// carries anyway: no vector of units is needed.
#ifdef _WIN32
// UTF-16 code units of a UTF-8 text, by the system's own converter, which the platform's profile
// reader uses too. At most one unit a byte.
std::string Utf8ToUnits(const std::string &s, size_t from) {
  const int bytes = s.size() > from ? static_cast<int>(s.size() - from) : 0;
  std::string units(static_cast<size_t>(bytes) * 2, '\0');
  const int count = bytes == 0
                        ? 0
                        : ::MultiByteToWideChar(CP_UTF8, 0, s.data() + from, bytes,
                                                reinterpret_cast<wchar_t *>(&units[0]), bytes);
  units.erase(static_cast<size_t>(count) * 2);
  return units;
}
#else
// UTF-16 code units of a UTF-8 text; a malformed sequence gives U+FFFD, as the platform's
// converter does.
// Sized once for the most units the bytes can give (one per byte: a four-byte sequence gives
// two), and cut to the count at the end: no growth code.
std::string Utf8ToUnits(const std::string &s, size_t from) {
  std::vector<uint16_t> units(s.size() > from ? s.size() - from : 0);
  size_t count = 0;
  size_t i = from;
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
    const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (k <= extra || overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      units[count++] = 0xFFFD;
      i += k;
      continue;
    }
    i += k;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      units[count++] = static_cast<uint16_t>(0xD800 + (cp >> 10));
      units[count++] = static_cast<uint16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      units[count++] = static_cast<uint16_t>(cp);
    }
  }
  std::string bytes;
  for (size_t n = 0; n < count; ++n) {
    bytes.push_back(static_cast<char>(units[n] & 0xFF));
    bytes.push_back(static_cast<char>(units[n] >> 8));
  }
  return bytes;
}
#endif

// The code units after the two-byte mark; an odd last byte is dropped.
std::string Utf16ToUnits(const std::string &s, bool bigEndian) {
  std::string units(s.data() + 2, (s.size() - 2) & ~static_cast<size_t>(1));
  for (size_t n = 0; bigEndian && n < units.size(); n += 2) {
    const char high = units[n];
    units[n] = units[n + 1];
    units[n + 1] = high;
  }
  return units;
}

#ifdef _WIN32
std::string UnitsToAnsi(const std::string &units) {
  if (units.empty()) {
    return std::string();
  }
  const wchar_t *wide = reinterpret_cast<const wchar_t *>(units.data());
  const int count = static_cast<int>(units.size() / 2);
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return std::string();
  }
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, count, &out[0], size, nullptr, nullptr);
  return out;
}
#else
// Off Windows the ANSI code page is taken to be the Western one (1252).
std::string UnitsToAnsi(const std::string &bytes) {
  std::vector<uint16_t> units(bytes.size() / 2);
  for (size_t n = 0; n < units.size(); ++n) {
    units[n] = static_cast<uint16_t>(static_cast<unsigned char>(bytes[2 * n]) |
                                     static_cast<unsigned char>(bytes[2 * n + 1]) << 8);
  }
  static const uint16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  out.reserve(units.size());
  for (uint16_t u : units) {
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
#endif

} // namespace

ProfileEncoding DecodeProfileText(const std::string &raw, std::string *ansi) {
  if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    *ansi = UnitsToAnsi(Utf8ToUnits(raw, 3));
    return ProfileEncoding::kUtf8;
  }
  const bool bigEndian = raw.compare(0, 2, "\xFE\xFF") == 0;
  if (!bigEndian && raw.compare(0, 2, "\xFF\xFE") != 0) {
    *ansi = raw;
    return ProfileEncoding::kAnsi;
  }
  // Either byte order through one conversion.
  *ansi = UnitsToAnsi(Utf16ToUnits(raw, bigEndian));
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
