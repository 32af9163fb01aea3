#include "base/win/product_name.h"

#include <cstring>

#include "base/win/version_api.h"

bool ReadProductName(std::string *pathInOut) {
  win::VersionApi api;
  std::string block;
  if (!api.ReadBlock(*pathInOut, &block)) {
    return false;
  }
  void *value = nullptr;
  UINT length = 0;
  if (api.Query(block, "\\StringFileInfo\\040904b0\\ProductName", &value, &length) && length > 0) {
    // The field has a fixed capacity padded with NULs: the name ends at the first one.
    const char *name = static_cast<const char *>(value);
    const size_t size = strnlen(name, length);
    if (size > 0) {
      pathInOut->assign(name, size);
    }
  }
  return true;
}
