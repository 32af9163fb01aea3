// A decoy DLL planted beside a setup under a system DLL's name. Loading it leaves a marker
// file, so a test can tell whether a program was made to load it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HANDLE marker = ::CreateFileA("C:\\planted-" DECOY_NAME ".txt", GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
      ::CloseHandle(marker);
    }
  }
  return TRUE;
}

// Enough of version.dll's exports for a program that imports it statically to start.
extern "C" __declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR, LPDWORD) { return 0; }
