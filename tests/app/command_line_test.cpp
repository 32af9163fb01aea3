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
  // Only an argument that starts with the option is one: not quoted text, not a value.
  EXPECT_EQ(ParseExtractOption("\"/extract:C:\\q\" PROP=/extract:C:\\p"), "");
  // A quoted folder ending in a backslash: its quote, which that backslash makes a character,
  // is no part of the folder.
  EXPECT_EQ(ParseExtractOption("/extract:\"C:\\my files\\\" /qn"), "C:\\my files\\");
}

// Each argument with where its first quoted part begins (npos: none).
std::string Arguments(const std::string &line) {
  std::string out;
  CommandArgument argument;
  for (size_t pos = 0; NextArgument(line, &pos, &argument);) {
    out += "[" + argument.text + "]";
    if (argument.quotedAt != std::string::npos) {
      out += std::to_string(argument.quotedAt);
    }
  }
  return out;
}

TEST(NextArgument, ReadsArgumentsAsWindowsInstallerDoes) {
  EXPECT_EQ(Arguments(""), "");
  EXPECT_EQ(Arguments(" \t "), "");
  EXPECT_EQ(Arguments("/l*v\"C:\\my logs\\setup.log\" /qn"), "[/l*vC:\\my logs\\setup.log]4[/qn]");
  EXPECT_EQ(Arguments("a\"b c\"d \"\" e"), "[ab cd]1[]0[e]");
  // A backslash before a quote is a backslash: the quote still closes the folder.
  EXPECT_EQ(Arguments("DIR=\"C:\\Program Files\\App\\\" /qn"),
            "[DIR=C:\\Program Files\\App\\]4[/qn]");
  EXPECT_EQ(Arguments("a\\\\\"b c\" d"), "[a\\\\b c]3[d]");
  EXPECT_EQ(Arguments("\"a\"\"b c\" \"\"\"x\"\"\""), "[ab c]0[x]0");
  EXPECT_EQ(Arguments("\"open to the end"), "[open to the end]0");
}

TEST(TakeSetupOption, TakesTheSetupsOwnOptionOutOfTheLineThePackageGets) {
  struct Case {
    const char *line;
    const char *value;
    const char *withoutIt; // the line the package gets
  } const cases[] = {
      {"/lang:1031", "1031", ""},
      {"/qn /LANG:1041", "1041", "/qn"},
      {"-lang:1025   /qn", "1025", "   /qn"},
      {"/qb /lang:3082 ADDLOCAL=ALL", "3082", "/qb ADDLOCAL=ALL"},
      // The first one counts, and only it goes.
      {"/lang:1036 /lang:1031", "1036", " /lang:1031"},
      {"/source:\"\\\\srv\\setups\\\" /qn", "\\\\srv\\setups\\", " /qn"},
      // Quoted text is no option, nor is a longer word.
      {"PROP=\"/lang:1031\" /language:1031", "", "PROP=\"/lang:1031\" /language:1031"},
  };
  for (const Case &c : cases) {
    std::string line = c.line;
    const char *name =
        std::string(c.line).find("source") != std::string::npos ? "/source:" : "/lang:";
    EXPECT_EQ(TakeSetupOption(&line, name), c.value) << c.line;
    EXPECT_EQ(line, c.withoutIt) << c.line;
  }
}

namespace {
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
} // namespace

// "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82" is the Cyrillic word "Test" in UTF-8, "\xE6\x97\xA5" a
// Japanese character.
#define TEST_WORD "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82"

TEST(ParseExtractOption, TheCommandLineIsUtf8WhateverTheAnsiCodePage) {
  // Under a double-byte code page whose lead bytes include 0x81 and 0x82, which end the word's
  // last two letters, the blank or backslash after them is still one.
  text::SetLeadByteTest(ShiftJisLead);
  EXPECT_EQ(ParseExtractOption("/extract:\"C:\\" TEST_WORD "\\\""), "C:\\" TEST_WORD "\\");
  EXPECT_EQ(ParseExtractOption("/extract:\"C:\\" TEST_WORD " \xE6\x97\xA5\" /qn"),
            "C:\\" TEST_WORD " \xE6\x97\xA5\\");
  EXPECT_EQ(ParseExtractOption("/extract:C:\\" TEST_WORD " /qn"), "C:\\" TEST_WORD "\\");
  EXPECT_EQ(ArgumentsAfterProgramName("C:\\" TEST_WORD " /qn"), "/qn");
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
