// Stands in for the installer registered for .msi files: records how it was started (one
// line per start: its command line) in C:\launch-record.txt, then ends.
#include <windows.h>

#include <cstdio>

int main() {
  FILE *record = std::fopen("C:\\launch-record.txt", "ab");
  if (record == nullptr) {
    return 1;
  }
  std::fprintf(record, "%s\n", ::GetCommandLineA());
  std::fclose(record);
  return 0;
}
