#include "packer/language/utf8.h"

bool NextUtf8(std::string_view text, size_t *at, uint32_t *character) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(*at);
  ++*at;
  if (lead < 0x80) {
    *character = lead;
    return true;
  }
  size_t more = 0;
  uint32_t value = 0;
  uint32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    more = 1;
    value = lead & 0x1F;
    least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    more = 2;
    value = lead & 0x0F;
    least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    more = 3;
    value = lead & 0x07;
    least = 0x10000;
  } else {
    return false;
  }
  if (text.size() - *at < more) {
    return false;
  }
  for (size_t i = 0; i < more; ++i) {
    if ((byte(*at + i) & 0xC0) != 0x80) {
      return false;
    }
    value = value << 6 | (byte(*at + i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return false;
  }
  *at += more;
  *character = value;
  return true;
}

bool IsUtf8(std::string_view text) {
  uint32_t character = 0;
  for (size_t at = 0; at < text.size();) {
    if (!NextUtf8(text, &at, &character)) {
      return false;
    }
  }
  return true;
}
