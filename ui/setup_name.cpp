#include "ui/setup_name.h"

#include "base/file.h"
#include "base/win/version_api.h"

bool ProductNameOrPath(const std::string &setupPath, std::string *name) {
  const bool read = win::VersionApi().ReadString(setupPath, "ProductName", name);
  if (name->empty()) {
    // Titles are ANSI text; a character the code page lacks reads as '?', never as the bytes of
    // another.
    *name = sys::AnsiFromPath(setupPath);
  }
  return read;
}
