#include "base/win/version_api.h"

namespace win {

VersionApi::VersionApi() : module_(LoadSystemLibrary("version.dll")) {
  getSize_ = module_.Proc<GetSizeFn>("GetFileVersionInfoSizeA");
  getInfo_ = module_.Proc<GetInfoFn>("GetFileVersionInfoA");
  query_ = module_.Proc<QueryFn>("VerQueryValueA");
}

bool VersionApi::ReadBlock(const std::string &path, std::string *block) const {
  if (!IsLoaded()) {
    return false;
  }
  DWORD handle = 0;
  const DWORD size = getSize_(path.c_str(), &handle);
  if (size == 0) {
    return false;
  }
  block->assign(size, '\0');
  return getInfo_(path.c_str(), 0, size, &(*block)[0]) != FALSE;
}

bool VersionApi::Query(const std::string &block, const char *subBlock, void **value,
                       UINT *length) const {
  *value = nullptr;
  *length = 0;
  return IsLoaded() && query_(block.data(), subBlock, value, length) != FALSE && *value != nullptr;
}

} // namespace win
