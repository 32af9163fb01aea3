// Texts for the stub's version resource given on the packer's command line, as UTF-16.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Window titles read "NAME Setup"; the name keeps to the length the stub always allowed.
constexpr size_t kMaxProductName = 63;

// UTF-16 units of a text given on the command line: UTF-8 on Linux (anything else is read as
// Latin-1), the ANSI code page on Windows. False, with *error naming what, for an empty text, a
// control character or more than maxUnits units.
bool EncodeVersionText(const std::string &text, const std::string &what, size_t maxUnits,
                       std::vector<uint16_t> *units, std::string *error);
