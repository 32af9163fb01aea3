// Control for the planting test: does what the setup must not, so the test can show that its
// decoys are loaded when nothing prevents it.
//   decoy_control version   calls version.dll through a static import
//   decoy_control <name>    loads <name>.dll by its bare name
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char **argv) {
  if (argc > 1 && std::strcmp(argv[1], "version") == 0) {
    DWORD handle = 0;
    return static_cast<int>(::GetFileVersionInfoSizeA("C:\\nothing.exe", &handle));
  }
  if (argc > 1) {
    const std::string name = std::string(argv[1]) + ".dll";
    return ::LoadLibraryA(name.c_str()) != nullptr ? 0 : 1;
  }
  return 2;
}
