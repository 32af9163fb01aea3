#include "base/win/shell_start.h"

#include <windows.h>

#include <shellapi.h>

#include "base/win/handle.h"
#include "base/win/wide_text.h"

namespace win {

ShellStartResult StartAndWait(const std::string &path, const std::string &parameters,
                              ShellErrorUi errorUi) {
  static_assert(sizeof(void *) != 4 || sizeof(SHELLEXECUTEINFOW) == 60,
                "the 32-bit structure the shell expects");
  const WideText file(path);
  const WideText wideParameters(parameters);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  if (errorUi == ShellErrorUi::Suppressed) {
    info.fMask |= SEE_MASK_FLAG_NO_UI;
  }
  info.lpVerb = L"open";
  info.lpFile = file.get();
  info.lpParameters = parameters.empty() ? nullptr : wideParameters.get();
  info.nShow = SW_SHOWNORMAL;
  // No window and no directory: the started program inherits the current directory.
  ShellStartResult result;
  if (!::ShellExecuteExW(&info)) {
    return result;
  }
  result.start = ShellStart::Started;
  Handle process(info.hProcess);
  if (process.IsValid()) {
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.Get(), &code)) {
      result.exitCode = code;
    }
  }
  return result;
}

} // namespace win
