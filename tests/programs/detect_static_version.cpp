// Control for the planting test: a program that imports version.dll the ordinary way and
// prints a file's version, so the test can show that a planted copy would be taken.
#include <windows.h>

#include <cstdio>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 2) {
    return 2;
  }
  DWORD handle = 0;
  DWORD size = ::GetFileVersionInfoSizeA(argv[1], &handle);
  std::vector<char> block(size == 0 ? 1 : size);
  VS_FIXEDFILEINFO *info = nullptr;
  UINT length = 0;
  if (size == 0 || !::GetFileVersionInfoA(argv[1], 0, size, block.data()) ||
      !::VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID *>(&info), &length)) {
    std::printf("0.0.0.0\n");
    return 0;
  }
  std::printf("%lu.%lu.%lu.%lu\n", static_cast<unsigned long>(HIWORD(info->dwFileVersionMS)),
              static_cast<unsigned long>(LOWORD(info->dwFileVersionMS)),
              static_cast<unsigned long>(HIWORD(info->dwFileVersionLS)),
              static_cast<unsigned long>(LOWORD(info->dwFileVersionLS)));
  return 0;
}
