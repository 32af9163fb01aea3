#include <windows.h>

#include "base/file.h"
#include "base/run_log.h"
#include "base/text_builder.h"

namespace runlog {
namespace {

// Closed when the process ends; every line is already in the system's hands by then.
sys::File logFile;

// The longest line written, without its line break.
constexpr size_t kMaxLine = 2046;

} // namespace

std::string Stamp() {
  SYSTEMTIME t;
  ::GetSystemTime(&t);
  return text::Builder()
      .AddNumber(t.wYear, 4)
      .AddNumber(t.wMonth, 2)
      .AddNumber(t.wDay, 2)
      .Add('_')
      .AddNumber(t.wHour, 2)
      .AddNumber(t.wMinute, 2)
      .AddNumber(t.wSecond, 2)
      .Add('_')
      .AddNumber(t.wMilliseconds, 3)
      .Take();
}

uint32_t Ticks() { return ::GetTickCount(); }

bool Open(const std::string &path) { return logFile.CreateNew(path); }

void Line(const char *text, std::initializer_list<Value> values) {
  if (!logFile.IsOpen()) {
    return;
  }
  SYSTEMTIME t;
  ::GetSystemTime(&t);
  text::Builder line;
  line.AddNumber(t.wHour, 2)
      .Add(':')
      .AddNumber(t.wMinute, 2)
      .Add(':')
      .AddNumber(t.wSecond, 2)
      .Add('.')
      .AddNumber(t.wMilliseconds, 3)
      .Add(' ');
  const Value *value = values.begin();
  for (; *text != '\0'; ++text) {
    if ((*text != '%' && *text != '$') || value == values.end()) {
      line.Add(*text);
    } else if (*text == '$') {
      line.Add(sys::PathFromAnsi(value++->text()));
    } else {
      line.Add(value++->text());
    }
  }
  std::string whole = line.text().substr(0, kMaxLine);
  whole += "\r\n";
  // One write a line: what a killed run leaves ends on a whole line. A failed write is let go.
  uint32_t written = 0;
  logFile.Write(whole.data(), static_cast<uint32_t>(whole.size()), &written);
}

} // namespace runlog
