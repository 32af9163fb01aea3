#include <windows.h>

#include "base/file.h"
#include "base/run_log.h"

namespace runlog {
namespace {

// Closed when the process ends; every line is already in the system's hands by then.
sys::File logFile;

} // namespace

Num::Num(uint32_t value) { ::wsprintfA(text, "%u", value); }

void Stamp(char (&out)[24]) {
  SYSTEMTIME t;
  ::GetSystemTime(&t);
  ::wsprintfA(out, "%04u%02u%02u_%02u%02u%02u_%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              t.wSecond, t.wMilliseconds);
}

uint32_t Ticks() { return ::GetTickCount(); }

bool Open(const std::string &path) { return logFile.CreateNew(path); }

void Line(const char *text, std::initializer_list<const char *> values) {
  if (!logFile.IsOpen()) {
    return;
  }
  SYSTEMTIME t;
  ::GetSystemTime(&t);
  char line[2048];
  char *end = line + ::wsprintfA(line, "%02u:%02u:%02u.%03u ", t.wHour, t.wMinute, t.wSecond,
                                 t.wMilliseconds);
  char *const last = line + sizeof line - 2;
  const char *const *value = values.begin();
  for (; *text != '\0' && end < last; ++text) {
    if ((*text != '%' && *text != '$') || value == values.end()) {
      *end++ = *text;
      continue;
    }
    const std::string converted = *text == '$' ? sys::PathFromAnsi(*value) : std::string();
    const char *part = *text == '$' ? converted.c_str() : *value;
    ++value;
    for (; *part != '\0' && end < last; ++part) {
      *end++ = *part;
    }
  }
  *end++ = '\r';
  *end++ = '\n';
  // One write a line: what a killed run leaves ends on a whole line. A failed write is let go.
  uint32_t written = 0;
  logFile.Write(line, static_cast<uint32_t>(end - line), &written);
}

} // namespace runlog
