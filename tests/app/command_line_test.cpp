#include "app/command_line.h"

#include <gtest/gtest.h>

#include "base/text.h"

TEST(ParseExtractOption, SelectsExtractOnlyModeOnlyForAUsableValue) {
  EXPECT_EQ(ParseExtractOption(""), "");
  EXPECT_EQ(ParseExtractOption("/qn"), "");
  EXPECT_EQ(ParseExtractOption("/extract:C:\\out"), "C:\\out\\");
  EXPECT_EQ(ParseExtractOption("/extract:C:\\out\\"), "C:\\out\\");
  EXPECT_EQ(ParseExtractOption("/extract:\"C:\\my files\""), "C:\\my files\\");
  EXPECT_EQ(ParseExtractOption("/extract:C:\\my files"), "C:\\my\\");
  // Case-sensitive: upper case is no option.
  EXPECT_EQ(ParseExtractOption("/EXTRACT:C:\\out"), "");
  // Fewer than two characters after the colon are ignored.
  EXPECT_EQ(ParseExtractOption("/extract:x"), "");
  EXPECT_EQ(ParseExtractOption("/extract:"), "");
  EXPECT_EQ(ParseExtractOption("/extract:xy"), "xy\\");
  // An empty quoted value is no option at all.
  EXPECT_EQ(ParseExtractOption("/extract:\"\""), "");
  EXPECT_EQ(ParseExtractOption("/extract:\"\" /qn"), "");
}

TEST(ParseExtractOption, FindsTheOptionAnywhereAndEndsAtTheRightCharacter) {
  EXPECT_EQ(ParseExtractOption("/qn /extract:D:\\x /l*v log"), "D:\\x\\");
  // A quoted value without its closing quote runs to the end.
  EXPECT_EQ(ParseExtractOption("/extract:\"C:\\a b"), "C:\\a b\\");
  // The first occurrence decides.
  EXPECT_EQ(ParseExtractOption("/extract:C:\\one /extract:C:\\two"), "C:\\one\\");
}

namespace {
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

TEST(ParseExtractOption, ATrailByteThatLooksLikeABackslashIsNotOne) {
  text::SetLeadByteTest(ShiftJisLead);
  // 0x83 0x5C is one double-byte character; its trail byte is not a folder separator.
  EXPECT_EQ(ParseExtractOption("/extract:C:\\\x83\x5C"), "C:\\\x83\x5C\\");
  EXPECT_EQ(ParseExtractOption("/extract:C:\\\x83\x5C\\"), "C:\\\x83\x5C\\");
  text::SetLeadByteTest(nullptr);
}

TEST(ArgumentsAfterProgramName, SkipsTheNameAndTheBlanksAfterIt) {
  EXPECT_EQ(ArgumentsAfterProgramName("setup.exe"), "");
  EXPECT_EQ(ArgumentsAfterProgramName("setup.exe /qn"), "/qn");
  EXPECT_EQ(ArgumentsAfterProgramName("setup.exe    /qn  "), "/qn  ");
  EXPECT_EQ(ArgumentsAfterProgramName("\"C:\\my dir\\setup.exe\" /extract:C:\\o"),
            "/extract:C:\\o");
  EXPECT_EQ(ArgumentsAfterProgramName("\"C:\\my dir\\setup.exe\"/qn"), "/qn");
  EXPECT_EQ(ArgumentsAfterProgramName("\"unterminated"), "");
}
