#include "packer/version_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

#ifndef _WIN32
// UTF-8 into UTF-16 units; false when the bytes are not UTF-8.
bool Utf8ToUtf16(const std::string &in, std::vector<uint32_t> *units) {
  for (size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    uint32_t code = 0;
    size_t extra = 0;
    if (c < 0x80) {
      code = c;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      code = c & 0x1Fu;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0Fu;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      code = c & 0x07u;
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= in.size() && extra > 0) {
      return false;
    }
    for (size_t k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(in[i + k]);
      if ((t & 0xC0) != 0x80) {
        return false;
      }
      code = (code << 6) | (t & 0x3Fu);
    }
    // Overlong forms and surrogate code points are not UTF-8.
    if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
      return false;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      units->push_back(0xD800 + (code >> 10));
      units->push_back(0xDC00 + (code & 0x3FF));
    } else {
      units->push_back(code);
    }
    i += extra + 1;
  }
  return true;
}
#endif

// A command-line text into UTF-16 units: the ANSI code page on Windows; UTF-8 elsewhere, or
// Latin-1 when the bytes are not UTF-8.
bool CommandLineTextToUtf16(const std::string &text, std::vector<uint32_t> *units) {
  units->clear();
#ifdef _WIN32
  const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    return false;
  }
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
  for (wchar_t w : wide) {
    units->push_back(static_cast<uint32_t>(w));
  }
  return true;
#else
  if (Utf8ToUtf16(text, units)) {
    return true;
  }
  units->clear();
  for (char c : text) {
    units->push_back(static_cast<unsigned char>(c));
  }
  return true;
#endif
}

} // namespace

bool EncodeVersionText(const std::string &text, const std::string &what, size_t maxUnits,
                       std::vector<uint16_t> *units, std::string *error) {
  std::vector<uint32_t> wide;
  if (text.empty()) {
    *error = "the " + what + " is empty";
    return false;
  }
  if (!CommandLineTextToUtf16(text, &wide)) {
    *error = "the " + what + " is not text in this system's code page";
    return false;
  }
  for (uint32_t unit : wide) {
    if (unit < 0x20 || unit == 0x7F) {
      *error = "the " + what + " contains a control character";
      return false;
    }
  }
  if (wide.size() > maxUnits) {
    *error = "the " + what + " has " + std::to_string(wide.size()) +
             " characters; the stub has room for " + std::to_string(maxUnits);
    return false;
  }
  units->assign(wide.begin(), wide.end());
  return true;
}
