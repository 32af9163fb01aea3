// The restart value on the real registry under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/restart_registration.h"
#include "base/win/reg_key.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value's data, or "<absent>".
std::string RunValue(const std::string &name) {
  win::RegKey run;
  if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return "<no key>";
  }
  DWORD size = 0;
  if (::RegQueryValueExA(run.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return "<absent>";
  }
  std::string data(size, '\0');
  DWORD type = 0;
  ::RegQueryValueExA(run.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(&data[0]),
                     &size);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // Stored with its terminating NUL.
  EXPECT_TRUE(!data.empty() && data.back() == '\0');
  data.resize(size > 0 ? size - 1 : 0);
  return data;
}

void SetRunValue(const std::string &name, const std::string &data) {
  win::RegKey run;
  ASSERT_EQ(run.Open(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE), ERROR_SUCCESS);
  ::RegSetValueExA(run.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
}

TEST(RestartRegistration, WritesTheQuotedPathOnceAndRemovesIt) {
  const std::string path = "C:\\Users\\Ann Lee\\Downloads\\setup.exe";
  UnregisterRestart(path);
  ASSERT_EQ(RunValue(path), "<absent>");

  EXPECT_TRUE(RegisterRestart(path));
  // Quoted, so that logon cannot resolve C:\Users\Ann.exe first; no arguments.
  EXPECT_EQ(RunValue(path), "\"C:\\Users\\Ann Lee\\Downloads\\setup.exe\"");

  // A value of that name is never rewritten, whatever it holds (a restarted run).
  SetRunValue(path, "kept as it was");
  EXPECT_TRUE(RegisterRestart(path));
  EXPECT_EQ(RunValue(path), "kept as it was");

  // A second copy of the setup elsewhere has its own value, removed by its own run.
  const std::string other = "C:\\other\\setup.exe";
  EXPECT_TRUE(RegisterRestart(other));
  EXPECT_TRUE(UnregisterRestart(path));
  EXPECT_EQ(RunValue(path), "<absent>");
  EXPECT_EQ(RunValue(other), "\"C:\\other\\setup.exe\"");
  EXPECT_TRUE(UnregisterRestart(other));
  EXPECT_EQ(RunValue(other), "<absent>");

  // Removing what is not there changes nothing and still reports the key as opened.
  EXPECT_TRUE(UnregisterRestart(path));
}

TEST(RestartRegistration, AValueWithLongDataIsFoundSoItIsWrittenOnceAndAlwaysRemoved) {
  // Data far longer than any fixed buffer a presence test might read into.
  const std::string path = "C:\\" + std::string(240, 'd') + "\\setup.exe";
  UnregisterRestart(path);
  ASSERT_TRUE(RegisterRestart(path));
  SetRunValue(path, std::string(4000, 'x'));
  ASSERT_TRUE(RegisterRestart(path));
  EXPECT_EQ(RunValue(path), std::string(4000, 'x'));
  ASSERT_TRUE(UnregisterRestart(path));
  EXPECT_EQ(RunValue(path), "<absent>");
}

TEST(RestartRegistration, AMissingRunKeyIsNeverCreated) {
  // The current user's root is pointed at an empty key for the length of the test.
  const char kEmptyRoot[] = "Software\\Tessara Tests\\Empty User";
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kEmptyRoot);
  HKEY empty = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kEmptyRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &empty, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, empty), ERROR_SUCCESS);
  const bool registered = RegisterRestart("C:\\setup.exe");
  const bool unregistered = UnregisterRestart("C:\\setup.exe");
  HKEY created = nullptr;
  const LONG opened = ::RegOpenKeyExA(empty, "Software", 0, KEY_READ, &created);
  ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  if (created != nullptr) {
    ::RegCloseKey(created);
  }
  ::RegCloseKey(empty);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kEmptyRoot);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tessara Tests");

  EXPECT_FALSE(registered);
  EXPECT_FALSE(unregistered);
  EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND) << "the Run key (or a parent) was created";
}

} // namespace
