// A decoy DLL planted beside a setup under a system DLL's name. Loading it leaves a marker
// file, so a test can tell whether a program was made to load it.
#include <windows.h>

namespace {

void Mark(const char *path) {
  HANDLE marker =
      ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) {
    ::CloseHandle(marker);
  }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Mark("C:\\planted-" DECOY_NAME ".txt");
  }
  return TRUE;
}

#ifdef DECOY_VERSION
// Wine's own user32 and comctl32 import version.dll, so under an override that prefers this
// file every program loads it: a load proves nothing. A call of the ANSI functions, which
// only a program's own code makes, leaves a second marker. The wide ones fail quietly, as for
// a file without a version resource, so that Wine's libraries start.
#define CALLED_MARK Mark("C:\\called-" DECOY_NAME ".txt")
extern "C" __declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR, LPDWORD handle) {
  CALLED_MARK;
  if (handle != nullptr) {
    *handle = 0;
  }
  return 0;
}
extern "C" __declspec(dllexport) BOOL WINAPI GetFileVersionInfoA(LPCSTR, DWORD, DWORD, LPVOID) {
  CALLED_MARK;
  return FALSE;
}
extern "C" __declspec(dllexport) BOOL WINAPI VerQueryValueA(LPCVOID, LPCSTR, LPVOID *, PUINT) {
  CALLED_MARK;
  return FALSE;
}
extern "C" __declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR, LPDWORD handle) {
  if (handle != nullptr) {
    *handle = 0;
  }
  ::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return 0;
}
extern "C" __declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) {
  ::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return FALSE;
}
extern "C" __declspec(dllexport) BOOL WINAPI VerQueryValueW(LPCVOID, LPCWSTR, LPVOID *, PUINT) {
  return FALSE;
}
#endif
