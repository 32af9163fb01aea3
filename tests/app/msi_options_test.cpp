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
  };
  for (const Case &c : cases) {
    const MsiOptions options = ParseMsiOptions(c.line);
    EXPECT_EQ(options.uiLevel, c.level) << c.line;
    EXPECT_EQ(options.logFile, c.log) << c.line;
  }
}
