// The rule that names a download after its URL: whatever the URL, a name that is accepted
// keeps the download inside its folder.
#include "archive/archive_format.h"
#include "download/file_name_from_url.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string url(reinterpret_cast<const char *>(data), size);
  const std::string name = fileNameFromUrl(url);
  FUZZ_CHECK(name.size() <= url.size());
  if (!IsUsableDownloadName(name)) {
    return 0;
  }
  FUZZ_CHECK(!name.empty() && name != "." && name != "..");
  FUZZ_CHECK(!IsReservedDeviceName(name) && name.back() != '.' && name.back() != ' ');
  for (char c : name) {
    FUZZ_CHECK(c != '\\' && c != '/' && c != ':' && c != '\0');
  }
  const std::string folder = "C:\\Downloads\\";
  const std::string path = DownloadTargetPath(folder, url);
  FUZZ_CHECK(path == folder + name);
  FUZZ_CHECK(DownloadTargetPath("C:\\Downloads", url) == path);
  return 0;
}
