#include "base/win/version_api.h"

#include <cstring>

#include "base/win/wide_text.h"

namespace win {

VersionApi::VersionApi() : module_(LoadSystemLibrary("version.dll")) {
  getSize_ = module_.Proc<GetSizeFn>("GetFileVersionInfoSizeW");
  getInfo_ = module_.Proc<GetInfoFn>("GetFileVersionInfoW");
  query_ = module_.Proc<QueryFn>("VerQueryValueA");
}

bool VersionApi::ReadBlock(const std::string &path, base::Buffer<char> *block) const {
  if (!IsLoaded()) {
    return false;
  }
  const WideText file(path);
  DWORD handle = 0;
  const DWORD size = getSize_(file.get(), &handle);
  if (size == 0) {
    return false;
  }
  return block->Allocate(size) && getInfo_(file.get(), 0, size, block->get()) != FALSE;
}

bool VersionApi::Query(const base::Buffer<char> &block, const char *subBlock, void **value,
                       UINT *length) const {
  *value = nullptr;
  *length = 0;
  return IsLoaded() && query_(block.get(), subBlock, value, length) != FALSE && *value != nullptr;
}

bool VersionApi::ReadString(const std::string &path, const char *name, std::string *value) const {
  value->clear();
  base::Buffer<char> block;
  if (!ReadBlock(path, &block)) {
    return false;
  }
  std::string subBlock = "\\StringFileInfo\\040904b0\\";
  subBlock += name;
  void *data = nullptr;
  UINT length = 0;
  if (Query(block, subBlock.c_str(), &data, &length) && length > 0) {
    // The field has a fixed capacity padded with NULs: the string ends at the first one.
    const char *text = static_cast<const char *>(data);
    const void *end = std::memchr(text, '\0', length);
    *value = std::string(text, end != nullptr ? static_cast<const char *>(end) : text + length);
  }
  return true;
}

} // namespace win
