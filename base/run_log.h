// The run's log: plain text lines, each handed to the file as soon as it is made, so a run
// that is killed leaves what happened up to then. Nothing here stops a run: with no file
// open, lines go nowhere. The host build opens none (it runs no setup).
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

namespace runlog {

// The decimal digits of a number, for a line's parts.
struct Num {
  explicit Num(uint32_t value);
  char text[12];
};

// Writes "YYYYMMDD_HHMMSS_mmm" of the time now (UTC, as every time of the log), for file names.
void Stamp(char (&out)[24]);
// A millisecond count for durations; it wraps, so only differences mean anything.
uint32_t Ticks();

// Creates the file (never one already there) and keeps it open until the process ends.
bool Open(const std::string &path);
// Writes "HH:MM:SS.mmm ", text with each "%" or "$" replaced by the next of values, and a line
// break, in one write; a line longer than 2 KB is cut. The log is UTF-8, as the setup's paths
// and command line are (path text, base/file.h), which "%" takes as they are; "$" takes text
// in the ANSI code page (the configuration's, the string table's) and writes it in UTF-8.
void Line(const char *text, std::initializer_list<const char *> values = {});

} // namespace runlog
