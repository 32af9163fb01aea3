#include "prereq/win/file_version.h"

#include <cstdio>
#include <vector>

namespace win {

bool FileVersionReader::Bind() const {
  if (!tried_) {
    tried_ = true;
    module_.Attach(LoadSystemLibrary("version.dll"));
    getSize_ = module_.Proc<SizeFn>("GetFileVersionInfoSizeA");
    getInfo_ = module_.Proc<InfoFn>("GetFileVersionInfoA");
    query_ = module_.Proc<QueryFn>("VerQueryValueA");
  }
  return getSize_ != nullptr && getInfo_ != nullptr && query_ != nullptr;
}

std::string FileVersionReader::Text(const std::string &path) const {
  unsigned parts[4] = {0, 0, 0, 0};
  DWORD handle = 0;
  DWORD size = Bind() ? getSize_(path.c_str(), &handle) : 0;
  if (size != 0) {
    std::vector<char> block(size);
    VS_FIXEDFILEINFO *info = nullptr;
    UINT infoSize = 0;
    if (getInfo_(path.c_str(), 0, size, block.data()) &&
        query_(block.data(), "\\", reinterpret_cast<LPVOID *>(&info), &infoSize) &&
        info != nullptr && infoSize >= sizeof(VS_FIXEDFILEINFO)) {
      parts[0] = HIWORD(info->dwFileVersionMS);
      parts[1] = LOWORD(info->dwFileVersionMS);
      parts[2] = HIWORD(info->dwFileVersionLS);
      parts[3] = LOWORD(info->dwFileVersionLS);
    }
  }
  char textBuffer[64];
  std::snprintf(textBuffer, sizeof textBuffer, "%u.%u.%u.%u", parts[0], parts[1], parts[2],
                parts[3]);
  return textBuffer;
}

} // namespace win
