#include "archive/pe_headers.h"

namespace pe {

bool ReadFileHeader(const unsigned char *headers, size_t size, FileHeader *header) {
  if (size < kFileHeadersSize || !HasSignature(headers, size)) {
    return false;
  }
  header->machine = ReadLe16(headers + 4);
  header->sectionCount = ReadLe16(headers + 6);
  header->optionalSize = ReadLe16(headers + 20);
  header->characteristics = ReadLe16(headers + 22);
  return true;
}

bool IsWindowsProgram(const unsigned char *file, size_t size) {
  uint32_t at = 0;
  return ReadHeadersOffset(file, size, &at) && at <= size && HasSignature(file + at, size - at);
}

} // namespace pe
