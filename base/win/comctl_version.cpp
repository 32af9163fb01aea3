#include "base/win/comctl_version.h"

#include <windows.h>

#include <shlwapi.h>

#include <string>

#include "base/win/module.h"
#include "base/win/version_api.h"

namespace {

bool AtLeast580(DWORD major, DWORD minor) { return major > 5 || (major == 5 && minor >= 80); }

bool FileVersionAtLeast580() {
  win::VersionApi api;
  std::string block;
  void *value = nullptr;
  UINT length = 0;
  if (!api.IsLoaded() || !api.ReadBlock("comctl32.dll", &block) ||
      !api.Query(block, "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  const VS_FIXEDFILEINFO *info = static_cast<const VS_FIXEDFILEINFO *>(value);
  return AtLeast580(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS));
}

} // namespace

bool IsComCtl580OrLater() {
  // comctl32 is imported statically, so this finds the copy already loaded (the one the
  // manifest selected) and cannot pick up a planted file.
  win::Module comctl(::LoadLibraryA("comctl32.dll"));
  if (!comctl.IsLoaded()) {
    return false;
  }
  using DllGetVersionFn = HRESULT(CALLBACK *)(DLLVERSIONINFO *);
  DllGetVersionFn getVersion = comctl.Proc<DllGetVersionFn>("DllGetVersion");
  if (getVersion != nullptr) {
    DLLVERSIONINFO info = {};
    info.cbSize = 20;
    HRESULT hr = getVersion(&info);
    comctl.Free();
    return SUCCEEDED(hr) && AtLeast580(info.dwMajorVersion, info.dwMinorVersion);
  }
  comctl.Free();
  return FileVersionAtLeast580();
}
