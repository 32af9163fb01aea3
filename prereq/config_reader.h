// Reading the configuration file: single values, the number rule and the two records.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "prereq/prerequisite.h"

class ProfileFile;

// The default text that marks a key as absent; a value written as exactly this is absent too.
constexpr const char *kNotFound = "NOT FOUND";

// The one way a key is read: absent when the file, section or key is missing, when the value
// is "NOT FOUND", or when it has 259 characters or more (it would not fit the buffer). An absent
// value reads as empty.
bool ReadConfigValue(const ProfileFile &file, std::string_view section, std::string_view key,
                     std::string *value);

// Leading decimal digits, wrapping modulo 2^32; anything else ends the number.
uint32_t ParseConfigNumber(std::string_view text);

// An Architectures list: kArchListed and the bit of each word of kArchNames in it; blanks
// around a word do not count, any other word adds nothing.
uint8_t ParseArchitectures(std::string_view list);

// "App" followed by n in decimal.
std::string AppKeyName(uint32_t n);
// "Url" followed by n: the key of a prerequisite's further download addresses (n from 2).
std::string UrlKeyName(uint32_t n);

// A value that is absent reads as empty.
GeneralOptions ReadGeneralOptions(const ProfileFile &file);

// Reads AppN into *out, every field from the file or its default, whatever *out held. Fails
// when AppN is missing from [PREREQUISITES] or its section lacks SetupFile and Url,
// SearchType or SearchString; *out is then partly read.
bool ReadPrerequisite(const ProfileFile &file, uint32_t n, Prerequisite *out);
