#include "ui/setup_name.h"

#include "base/win/version_api.h"

bool ProductNameOrPath(const std::string &setupPath, std::string *name) {
  const bool read = win::VersionApi().ReadString(setupPath, "ProductName", name);
  if (name->empty()) {
    *name = setupPath;
  }
  return read;
}
