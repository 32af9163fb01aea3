// The host build runs no setup and writes no log; numbers are still formatted for the lines
// the portable code builds.
#include "base/run_log.h"

#include <cstdio>

namespace runlog {

Num::Num(uint32_t value) { std::snprintf(text, sizeof text, "%u", value); }

void Stamp(char (&out)[24]) { out[0] = '\0'; }

uint32_t Ticks() { return 0; }

bool Open(const std::string &) { return false; }

void Line(const char *, std::initializer_list<const char *>) {}

} // namespace runlog
