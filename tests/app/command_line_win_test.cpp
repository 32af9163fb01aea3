// The setup's arguments against the system's own reading of the same command line, where the
// two rules agree: no backslash before a quote, no doubled quote inside a quoted part (there
// the setup reads the line as Windows Installer does; tests/app/command_line_test.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/command_line.h"

namespace {

using ToArgv = LPWSTR *(WINAPI *)(LPCWSTR, int *);

std::string Ascii(const wchar_t *text) { return std::string(text, text + lstrlenW(text)); }

TEST(NextArgument, SplitsPlainAndQuotedLinesAsCommandLineToArgvWDoes) {
  HMODULE shell = ::LoadLibraryA("shell32.dll");
  ASSERT_NE(shell, nullptr);
  const auto toArgv = reinterpret_cast<ToArgv>(::GetProcAddress(shell, "CommandLineToArgvW"));
  ASSERT_NE(toArgv, nullptr);
  const char *const lines[] = {
      "/qn",
      "  /qn\t/l*v  log.txt  ",
      "/l*v\"C:\\my logs\\setup.log\" /qn",
      "/extract:\"C:\\my files\" /qn",
      "PROP=\"a b\" \"c d\"e f\"g h\"",
      "a\\\\b\\ \\ c\\d \"e\\f\"",
      "x\"y z\" \"\" \"open to the end",
  };
  for (const char *line : lines) {
    std::string expected;
    int count = 0;
    const std::wstring wide = L"setup.exe " + std::wstring(line, line + strlen(line));
    LPWSTR *argv = toArgv(wide.c_str(), &count);
    ASSERT_NE(argv, nullptr) << line;
    for (int i = 1; i < count; ++i) {
      expected += "[" + Ascii(argv[i]) + "]";
    }
    ::LocalFree(argv);
    std::string actual;
    CommandArgument argument;
    for (size_t pos = 0; NextArgument(line, &pos, &argument);) {
      actual += "[" + argument.text + "]";
    }
    EXPECT_EQ(actual, expected) << line;
  }
  ::FreeLibrary(shell);
}

} // namespace
