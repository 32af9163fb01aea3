#include "base/win/comctl_version.h"

#include <windows.h>

#include <shlwapi.h>

#include "base/win/module.h"

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
    return SUCCEEDED(hr) &&
           (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 80));
  }
  comctl.Free();
  // Every common-controls library from version 4.71 on exports DllGetVersion: one without it
  // is older than 5.80, which is what its file version would say.
  return false;
}
