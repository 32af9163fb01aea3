/* A planted version.dll: if the searches ever loaded it, every file would read 7.7.7.7. */
#include <windows.h>

__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle) {
  (void)path;
  if (handle != NULL) {
    *handle = 0;
  }
  return 64;
}

__declspec(dllexport) BOOL WINAPI
    GetFileVersionInfoA(LPCSTR path, DWORD handle, DWORD size, LPVOID data) {
  (void)path;
  (void)handle;
  ZeroMemory(data, size);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    VerQueryValueA(LPCVOID block, LPCSTR sub, LPVOID *out, PUINT length) {
  static VS_FIXEDFILEINFO info;
  (void)block;
  (void)sub;
  info.dwSignature = 0xFEEF04BD;
  info.dwFileVersionMS = 0x00070007;
  info.dwFileVersionLS = 0x00070007;
  *out = &info;
  *length = sizeof info;
  return TRUE;
}
