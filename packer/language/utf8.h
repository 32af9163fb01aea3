// UTF-8 as the language files spell it: checked, and read one character at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// The character at *at, whose bytes *at moves past; false (and *at past one byte) when the
// bytes there are no character of UTF-8: a stray or missing continuation byte, an overlong form,
// a surrogate or a value past U+10FFFF.
bool NextUtf8(std::string_view text, size_t *at, uint32_t *character);

// Whether text is UTF-8 throughout.
bool IsUtf8(std::string_view text);
