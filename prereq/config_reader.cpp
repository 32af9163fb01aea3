#include "prereq/config_reader.h"

#include <utility>

#include "base/text.h"
#include "base/text_builder.h"
#include "prereq/profile_file.h"

bool HasOptionLetter(const std::string &options, const char *letter) {
  return text::Find(options, letter) != std::string::npos;
}

bool ReadConfigValue(const ProfileFile &file, std::string_view section, std::string_view key,
                     std::string *value) {
  std::string_view found;
  // 259 characters fill the buffer: the platform cuts such a value, so it is never used.
  if (!file.FindView(section, key, &found) || found.size() >= kConfigValueBuffer - 1 ||
      found == kNotFound) {
    value->clear();
    return false;
  }
  *value = std::string(found);
  return true;
}

uint32_t ParseConfigNumber(std::string_view text) {
  uint32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      break;
    }
    number = number * 10u + static_cast<uint32_t>(c - '0');
  }
  return number;
}

uint8_t ParseArchitectures(std::string_view list) {
  uint8_t bits = kArchListed;
  for (;;) {
    // A comma is never the trail byte of a double-byte character.
    const size_t comma = list.find(',');
    const std::string_view word = text::TrimSpacesAndTabs(
        std::string_view(list.data(), comma == std::string_view::npos ? list.size() : comma));
    for (uint8_t i = 0; i < 3; ++i) {
      if (word == kArchNames[i]) {
        bits = static_cast<uint8_t>(bits | (1u << i));
      }
    }
    if (comma == std::string_view::npos) {
      return bits;
    }
    list = std::string_view(list.data() + comma + 1, list.size() - comma - 1);
  }
}

std::string AppKeyName(uint32_t n) { return text::Builder().Add("App").AddNumber(n).Take(); }

std::string UrlKeyName(uint32_t n) { return text::Builder().Add("Url").AddNumber(n).Take(); }

GeneralOptions ReadGeneralOptions(const ProfileFile &file) {
  GeneralOptions options;
  ReadConfigValue(file, "GeneralOptions", "MainAppCmdLine", &options.mainAppCmdLine);
  ReadConfigValue(file, "GeneralOptions", "Options", &options.options);
  return options;
}

namespace {

// The keys of a prerequisite's section that are kept as text, each with its member.
struct TextKey {
  const char *key;
  std::string Prerequisite::*member;
};
constexpr TextKey kTextKeys[] = {
    {"CommandLine", &Prerequisite::commandLine},
    {"Options", &Prerequisite::options},
    {"VerMin", &Prerequisite::verMin},
    {"VerMax", &Prerequisite::verMax},
    {"Sha256", &Prerequisite::sha256},
    {"Signer", &Prerequisite::signer},
    {"SuccessCodes", &Prerequisite::successCodes},
    {"RestartCodes", &Prerequisite::restartCodes},
};

} // namespace

bool ReadPrerequisite(const ProfileFile &file, uint32_t n, Prerequisite *out) {
  const std::string section = AppKeyName(n);
  Prerequisite &p = *out;
  std::string value;
  if (!ReadConfigValue(file, "PREREQUISITES", section, &p.name)) {
    return false;
  }
  p.targetOS = ReadConfigValue(file, section, "TargetOS", &value)
                   ? static_cast<int32_t>(ParseConfigNumber(value))
                   : 2;
  p.mirrors.clear();
  if (ReadConfigValue(file, section, "SetupFile", &p.source)) {
    p.sourceKind = SourceKind::SetupFile;
  } else if (ReadConfigValue(file, section, "Url", &p.source)) {
    p.sourceKind = SourceKind::Url;
    for (uint32_t i = 2; ReadConfigValue(file, section, UrlKeyName(i), &value); ++i) {
      p.mirrors.push_back(value);
    }
  } else {
    return false;
  }
  p.exactSize = ReadConfigValue(file, section, "ExactSize", &value) ? ParseConfigNumber(value) : 0;
  if (!ReadConfigValue(file, section, "SearchType", &value)) {
    return false;
  }
  p.searchType = static_cast<int32_t>(ParseConfigNumber(value));
  p.architectures =
      ReadConfigValue(file, section, "Architectures", &value) ? ParseArchitectures(value) : 0;
  // Reading has no side effects: the order of the keys does not matter.
  for (const TextKey &text : kTextKeys) {
    ReadConfigValue(file, section, text.key, &(p.*text.member));
  }
  return ReadConfigValue(file, section, "SearchString", &p.searchString);
}
