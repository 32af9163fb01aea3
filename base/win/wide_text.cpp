#include "base/win/wide_text.h"

#include "base/file.h"

namespace win {

namespace {
bool ansiPaths = false;
} // namespace

UINT PathCodePage() { return ansiPaths ? CP_ACP : CP_UTF8; }

void KeepPathsInAnsiCodePage() { ansiPaths = true; }

void WideText::Assign(std::string_view text, UINT codePage) {
  // No code page gives more UTF-16 units than bytes.
  text_.Allocate(text.size() + 1);
  const int bytes = static_cast<int>(text.size());
  size_ =
      bytes == 0 ? 0 : ::MultiByteToWideChar(codePage, 0, text.data(), bytes, text_.get(), bytes);
  text_[size_] = 0;
}

std::string NarrowText(const wchar_t *text, int length, UINT codePage) {
  // At most three bytes a unit (a surrogate pair gives four for two), whatever the code page.
  base::Buffer<char> buffer(static_cast<size_t>(length) * 3 + 1);
  const int bytes =
      ::WideCharToMultiByte(codePage, 0, text, length, buffer.get(), length * 3, nullptr, nullptr);
  return std::string(buffer.get(), static_cast<size_t>(bytes));
}

bool ModulePath(std::string *path) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  // A full buffer means the path was cut short.
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  *path = NarrowText(buffer, static_cast<int>(length));
  return true;
}

bool TempFolder(std::string *folder) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, buffer);
  // A path that does not fit the buffer is as unusable as none at all.
  if (length == 0 || length >= MAX_PATH) {
    return false;
  }
  *folder = NarrowText(buffer, static_cast<int>(length));
  sys::EnsureTrailingSeparator(folder);
  return true;
}

std::string CommandLine() {
  const wchar_t *line = ::GetCommandLineW();
  return NarrowText(line, ::lstrlenW(line));
}

} // namespace win
