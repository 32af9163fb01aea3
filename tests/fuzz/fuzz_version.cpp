// Version parsing and comparison: two or three texts from one input, read in a single-byte
// and in a double-byte code page.
#include "base/text.h"
#include "prereq/version_number.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  FuzzInput in(data, size);
  const bool doubleByte = (in.Byte() & 1) != 0;
  text::SetLeadByteTest(doubleByte ? ShiftJisLead : nullptr);
  const VersionNumber a = ParseVersion(in.Line());
  const VersionNumber b = ParseVersion(in.Line());
  const VersionNumber c = ParseVersion(in.Rest());
  FUZZ_CHECK(Compare(a, b) == -Compare(b, a));
  FUZZ_CHECK(Compare(a, a) == 0);
  if (Compare(a, b) <= 0 && Compare(b, c) <= 0) {
    FUZZ_CHECK(Compare(a, c) <= 0);
  }
  // The text of a version reads back as the same version.
  const std::string shown = VersionText(a);
  const VersionNumber again = ParseVersion(shown);
  if (a.part[0] >= 0 && a.part[1] >= 0 && a.part[2] >= 0 && a.part[3] >= 0) {
    FUZZ_CHECK(Compare(a, again) == 0);
  }
  // Inclusive bounds: a version is in the range it bounds on both sides.
  FUZZ_CHECK(IsEmpty(a) || InRange(a, a, a));
  InRange(a, b, c);
  text::SetLeadByteTest(nullptr);
  return 0;
}
