// The setup keeps its paths and its command line as 8-bit text in UTF-8, so that a folder no
// ANSI code page can spell (Cyrillic or Japanese on a Western system, a profile or temporary
// folder of such a name) is still a path; the system's W functions take it as UTF-16. These convert
// at that boundary and give the system's paths back as such text.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "base/buffer.h"

namespace win {

// The code page of a program's path text: UTF-8, unless KeepPathsInAnsiCodePage was called
// (the packer, whose paths come from its ANSI command line and go to ANSI functions as well).
UINT PathCodePage();
void KeepPathsInAnsiCodePage();

// A zero-terminated UTF-16 copy of text read in codePage (path text by default); a byte that
// is no character there becomes U+FFFD.
class WideText {
public:
  explicit WideText(std::string_view text = std::string_view(), UINT codePage = PathCodePage()) {
    Assign(text, codePage);
  }
  // The copy of another text in place of this one.
  void Assign(std::string_view text, UINT codePage = PathCodePage());
  const wchar_t *get() const { return text_.get(); }
  // The UTF-16 units, without the terminating zero.
  int size() const { return size_; }

private:
  base::Buffer<wchar_t> text_;
  int size_ = 0;
};

// length UTF-16 units as text in codePage (path text by default).
std::string NarrowText(const wchar_t *text, int length, UINT codePage = PathCodePage());

// The running program's full path; false when the system cannot give it in MAX_PATH units.
bool ModulePath(std::string *path);
// The user's temporary folder, ending with a backslash; false when there is none that fits.
bool TempFolder(std::string *folder);
// The process's whole command line.
std::string CommandLine();

} // namespace win
