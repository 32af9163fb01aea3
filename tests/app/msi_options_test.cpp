#include "app/msi_options.h"

#include <gtest/gtest.h>

TEST(ParseMsiOptions, ReadsTheUiLevelAndTheLogFileAsMsiexecSpellsThem) {
  struct Case {
    const char *line;
    UiLevel level;
    const char *log;
  } const cases[] = {
      {"", UiLevel::Full, ""},
      {"/qn", UiLevel::None, ""},
      {"-QN", UiLevel::None, ""},
      {"/q", UiLevel::None, ""},
      {"/qn+ /norestart", UiLevel::None, ""},
      {"/QUIET", UiLevel::None, ""},
      {"/passive", UiLevel::Basic, ""},
      {"/qb!-", UiLevel::Basic, ""},
      {"-qr", UiLevel::Basic, ""},
      // The last UI option counts; /qf is the full interface.
      {"/qn /qf", UiLevel::Full, ""},
      // Not UI options: other letters, longer words, values, text in quotes.
      {"/qx /quietly /qnn ADDLOCAL=ALL a/qn", UiLevel::Full, ""},
      {"TARGETDIR=\"C:\\x -qn\"", UiLevel::Full, ""},
      {"/l*v \"C:\\my logs\\app.log\" /qn", UiLevel::None, "C:\\my logs\\app.log"},
      {"/qn /log C:\\app.log", UiLevel::None, "C:\\app.log"},
      {"-L*V\tc:\\app.log", UiLevel::Full, "c:\\app.log"},
      {"/l*v", UiLevel::Full, ""},
      // A quoted file glued to the option, as people write it: the switches after it count.
      {"/l*v\"C:\\my logs\\setup.log\" /qn", UiLevel::None, "C:\\my logs\\setup.log"},
      {"-LOG\"C:\\Logs\\A.log\" /passive", UiLevel::Basic, "C:\\Logs\\A.log"},
      // The last log counts; its file is the next argument whatever it reads like.
      {"/log a.log /l*v /qn", UiLevel::Full, "/qn"},
      // Quoted text is no switch; a backslash before a quote is a backslash, as for msiexec.
      {"INSTALLDIR=\"C:\\Program Files\\App\\\" /qn \"/qb\"", UiLevel::None, ""},
      // Longer names that start with an l are no log: only the log modes may follow it.
      {"/lang:de /l*vx! x.log", UiLevel::Full, "x.log"},
  };
  for (const Case &c : cases) {
    const MsiOptions options = ParseMsiOptions(c.line);
    EXPECT_EQ(options.uiLevel, c.level) << c.line;
    EXPECT_EQ(options.logFile, c.log) << c.line;
  }
}

TEST(ParseMsiOptions, FindsTheSetupsOwnLanguageOptionWhereTheLineHoldsIt) {
  struct Case {
    const char *line;
    uint16_t language;
    const char *withoutIt; // the line the package gets
  } const cases[] = {
      {"/lang:1031", 1031, ""},
      {"/qn /LANG:1041", 1041, "/qn "},
      {"-lang:1025   /qn", 1025, "/qn"},
      {"/qb /lang:3082 ADDLOCAL=ALL", 3082, "/qb ADDLOCAL=ALL"},
      // The first one counts, and only it goes; one above 65535 names no language.
      {"/lang:1036 /lang:1031", 1036, "/lang:1031"},
      {"/lang:70000 /qn", 0, "/qn"},
      {"/lang:x", 0, ""},
      // Quoted text is no option, nor is a longer word.
      {"PROP=\"/lang:1031\" /language:1031", 0, "PROP=\"/lang:1031\" /language:1031"},
  };
  for (const Case &c : cases) {
    const MsiOptions options = ParseMsiOptions(c.line);
    std::string line = c.line;
    line.erase(options.languageAt, options.languageEnd - options.languageAt);
    EXPECT_EQ(options.language, c.language) << c.line;
    EXPECT_EQ(line, c.withoutIt) << c.line;
  }
}
