// The name a setup shows in its window titles, read from real files on the system under Wine.
#include "ui/setup_name.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ThisFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

TEST(ProductNameOrPath, TakesTheUsEnglishProductNameOrThePath) {
  std::string name;
  ASSERT_TRUE(ProductNameOrPath(ThisFolder() + "..\\app\\tessara-stub.exe", &name));
  EXPECT_EQ(name, "Tessara");

  // A file without a version block: false, and the name is the path.
  char temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
  std::string plain = std::string(temp) + "no-version.bin";
  HANDLE file = ::CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, "MZ not really", 13, &written, nullptr);
  ::CloseHandle(file);
  std::string fallback;
  EXPECT_FALSE(ProductNameOrPath(plain, &fallback));
  EXPECT_EQ(fallback, plain);
  ::DeleteFileA(plain.c_str());
}

} // namespace
