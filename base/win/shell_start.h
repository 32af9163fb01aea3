// Starting a file through the shell's "open" verb and waiting for the process it hands back.
#pragma once
#include <cstdint>
#include <string>

namespace win {

// Whether the shell may show its own box when it cannot start the file.
enum class ShellErrorUi { Shown, Suppressed };

enum class ShellStart { Started, NotStarted };

struct ShellStartResult {
  ShellStart start = ShellStart::NotStarted;
  // The process's exit code; 0 when the shell started the file without handing back a process
  // (a running program took it over) or when the code cannot be read.
  uint32_t exitCode = 0;
};

// Opens path with parameters, both path text (base/file.h; empty parameters are passed as none
// at all, not as an empty string), shown normally, in the current directory, and returns when
// the process that came back has ended, or at once when none did. NotStarted when the shell could
// not start it (no such file, no handler).
ShellStartResult StartAndWait(const std::string &path, const std::string &parameters,
                              ShellErrorUi errorUi);

} // namespace win
