// The setup's own windows and texts, on the real system under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/setup_error.h"
#include "app/status_window.h"
#include "base/win/module_state.h"
#include "resources/resource.h"

namespace {

TEST(StringTable, HoldsEveryTextExactlyAndErrorsMapToThem) {
  const struct {
    UINT id;
    const char *text;
  } table[] = {
      {129, "This archive is corupted."},
      {130, "This archive has an an unsuported version."},
      {131, "Windows Installer could not be started."},
      {132, "An error occured while reading the file."},
      {133, "An error ocured while extracting."},
      {134, "Select the download folder."},
      {135, "The download failed. Verify you are conected to the INTERNET and try again."},
      {136, "Error"},
      {137, "Download failed to start."},
      {138, "An error ocured while downloading the file."},
      {139, "Download aborted."},
      {140, "An error ocurred while saving the file."},
      {141, "Extracting the main application files..."},
  };
  for (const auto &row : table) {
    EXPECT_EQ(win::LoadResourceString(row.id), row.text) << row.id;
  }
  EXPECT_EQ(MessageIdForSetupError(kFileError), 132u);
  EXPECT_EQ(MessageIdForSetupError(kOutOfMemory), 133u);
  EXPECT_EQ(MessageIdForSetupError(kPathUnavailable), 133u);
  EXPECT_EQ(MessageIdForSetupError(kCorrupted), 129u);
  EXPECT_EQ(MessageIdForSetupError(kUnsupportedVersion), 130u);
  EXPECT_EQ(MessageIdForSetupError(kInstallerNotStarted), 131u);
  EXPECT_EQ(MessageIdForSetupError(1), 133u);
  EXPECT_EQ(MessageIdForSetupError(42), 133u);
  // Nothing to report: no box, result 1.
  EXPECT_EQ(ReportSetupError(0), 1);
}

TEST(StatusWindow, ShowsItsTextCentredWithoutAnyWayToCloseIt) {
  StatusWindow status;
  ASSERT_TRUE(status.Create());
  HWND hwnd = status.hwnd();
  ASSERT_TRUE(::IsWindowVisible(hwnd));
  char text[128] = {};
  ::GetDlgItemTextA(hwnd, IDC_STATUS_TEXT, text, sizeof(text));
  EXPECT_STREQ(text, "Preparing...");

  status.SetCaption("Acme Setup");
  status.SetText("Extracting the main application files...");
  ::GetWindowTextA(hwnd, text, sizeof(text));
  EXPECT_STREQ(text, "Acme Setup");
  ::GetDlgItemTextA(hwnd, IDC_STATUS_TEXT, text, sizeof(text));
  EXPECT_STREQ(text, "Extracting the main application files...");

  const LONG style = ::GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  EXPECT_EQ(::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
  EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), nullptr);

  RECT work;
  RECT window;
  ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_TRUE(::GetWindowRect(hwnd, &window));
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 2);

  status.Destroy();
  EXPECT_FALSE(::IsWindow(hwnd));
}

} // namespace
