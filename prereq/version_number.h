// Versions picked out of free text: the first four runs of decimal digits.
#pragma once
#include <cstdint>
#include <string>

struct VersionNumber {
  int32_t part[4] = {0, 0, 0, 0}; // index 0 is the most significant
};

// Never fails; a text without digits gives the empty version.
VersionNumber ParseVersion(const std::string &text);
bool IsEmpty(const VersionNumber &v);
// -1, 0 or +1, field by field (signed).
int Compare(const VersionNumber &a, const VersionNumber &b);
// Inclusive bounds; an empty bound does not limit.
bool InRange(const VersionNumber &v, const VersionNumber &min, const VersionNumber &max);
// "%d.%d.%d.%d"
std::string VersionText(const VersionNumber &v);
