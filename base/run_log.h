// The run's log: plain text lines, each handed to the file as soon as it is made, so a run
// that is killed leaves what happened up to then. Nothing here stops a run: with no file
// open, lines go nowhere. The host build opens none (it runs no setup).
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace runlog {

// "YYYYMMDD_HHMMSS_mmm" of the time now (UTC, as every time of the log), for file names.
std::string Stamp();
// A millisecond count for durations; it wraps, so only differences mean anything.
uint32_t Ticks();

// Creates the file (never one already there) and keeps it open until the process ends.
bool Open(const std::string &path);
// One value of a line: text, or a number, which it holds in decimal.
class Value {
public:
  Value(std::string_view text) : text_(text) {}
  Value(const char *text) : text_(text) {}
  Value(const std::string &text) : text_(text) {}
  Value(uint64_t number);
  Value(uint32_t number) : Value(static_cast<uint64_t>(number)) {}
  // The text may be the value's own digits: it is never copied.
  Value(const Value &) = delete;
  Value &operator=(const Value &) = delete;

  std::string_view text() const { return text_; }

private:
  std::string_view text_;
  char digits_[20];
};

// Writes "HH:MM:SS.mmm ", text with each "%" or "$" replaced by the next of values, and a line
// break, in one write; a line longer than 2 KB is cut. The log is UTF-8, as the setup's paths
// and command line are (path text, base/file.h), which "%" takes as they are; "$" takes text
// in the ANSI code page (the configuration's, the string table's) and writes it in UTF-8.
void Line(const char *text, std::initializer_list<Value> values = {});

} // namespace runlog
