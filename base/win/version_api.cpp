#include "base/win/version_api.h"

#include "base/win/wide_text.h"

namespace win {

VersionApi::VersionApi() : module_(LoadSystemLibrary("version.dll")) {
  getSize_ = module_.Proc<GetSizeFn>("GetFileVersionInfoSizeW");
  getInfo_ = module_.Proc<GetInfoFn>("GetFileVersionInfoW");
  query_ = module_.Proc<QueryFn>("VerQueryValueW");
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

bool VersionApi::Query(const base::Buffer<char> &block, const wchar_t *subBlock, void **value,
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
  if (Query(block, WideText(subBlock).get(), &data, &length) && length > 0) {
    // The field has a fixed capacity padded with NULs: the string ends at the first one.
    const wchar_t *text = static_cast<const wchar_t *>(data);
    UINT units = 0;
    while (units < length && text[units] != 0) {
      ++units;
    }
    *value = NarrowText(text, static_cast<int>(units));
  }
  return true;
}

} // namespace win
