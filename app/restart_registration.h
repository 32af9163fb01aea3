// The value in the current user's Run key that starts the setup again at the next logon while
// prerequisites are being handled, so a restart in the middle does not lose the run.
#pragma once
#include <string>

// path is path text (base/file.h). Writes the value named path unless one of that name is
// present. The data is the path in double quotes: unquoted, a path with blanks could start
// another program at logon.
// False when the Run key could not be opened (it is never created).
bool RegisterRestart(const std::string &path);
// Deletes the value named path if present. False when the Run key could not be opened.
bool UnregisterRestart(const std::string &path);

// The data written for path.
std::string RestartCommand(const std::string &path);
