#include "prereq/win/file_version.h"

#include "base/file.h"
#include "base/text_builder.h"

namespace win {

void FileVersionReader::Bind() const {
  if (!api_) {
    api_.reset(new VersionApi());
  }
}

std::string FileVersionReader::Text(const std::string &path) const {
  unsigned parts[4] = {0, 0, 0, 0};
  Bind();
  base::Buffer<char> block;
  // The searches' paths are in the ANSI code page; the reader takes path text.
  if (api_->ReadBlock(sys::PathFromAnsi(path), &block)) {
    void *value = nullptr;
    UINT infoSize = 0;
    if (api_->Query(block, L"\\", &value, &infoSize) && infoSize >= sizeof(VS_FIXEDFILEINFO)) {
      const auto *info = static_cast<const VS_FIXEDFILEINFO *>(value);
      parts[0] = HIWORD(info->dwFileVersionMS);
      parts[1] = LOWORD(info->dwFileVersionMS);
      parts[2] = HIWORD(info->dwFileVersionLS);
      parts[3] = LOWORD(info->dwFileVersionLS);
    }
  }
  text::Builder version;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      version.Add('.');
    }
    version.AddNumber(parts[i]);
  }
  return version.Take();
}

} // namespace win
