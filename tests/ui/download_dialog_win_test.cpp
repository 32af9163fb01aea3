// The download dialog in this process over a scripted server: a second thread reads what the
// dialog shows while the worker is held at chosen points.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "base/win/comctl_version.h"
#include "download/download_batch.h"
#include "download/download_codes.h"
#include "resources/download_dialog_ids.h"
#include "tests/support/download_fakes.h"
#include "ui/download_dialog.h"
#include "ui/window_notifier.h"

namespace {

// A one-shot gate the worker waits at until the checking thread opens it.
class Gate {
public:
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(20), [this] { return open_; });
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

HWND WaitForDialog() {
  for (int i = 0; i < 200; ++i) {
    HWND dialog = ::FindWindowA("#32770", "Downloading...");
    if (dialog != nullptr) {
      return dialog;
    }
    ::Sleep(25);
  }
  return nullptr;
}

std::string CellText(HWND dialog, int row, int column) {
  char text[64] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(::GetDlgItem(dialog, IDC_DOWNLOAD_LIST), LVM_GETITEMTEXTA, row,
                 reinterpret_cast<LPARAM>(&item));
  return text;
}

std::string ControlText(HWND hwnd) {
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// Polls until the cell shows want (the dialog handles posted messages in its own time).
bool WaitForCell(HWND dialog, int row, int column, const std::string &want) {
  for (int i = 0; i < 200; ++i) {
    if (CellText(dialog, row, column) == want) {
      return true;
    }
    ::Sleep(25);
  }
  return false;
}

class DownloadDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "tessara-dialog-test\\";
    ::CreateDirectoryA(folder_.c_str(), nullptr);
    platform_.session = &session_;
    batch_.setFolder(folder_);
  }
  void TearDown() override {
    for (const DownloadItem &item : batch_.items()) {
      ::DeleteFileA((folder_ + item.url.substr(item.url.rfind('/') + 1)).c_str());
    }
    ::RemoveDirectoryA(folder_.c_str());
  }
  void Add(const std::string &url, uint32_t size) {
    DownloadItem item;
    item.url = url;
    item.size = size;
    batch_.items().push_back(item);
  }

  std::string folder_;
  ScriptedSession session_;
  FakePlatform platform_;
  DownloadBatch batch_{platform_};
};

} // namespace

TEST_F(DownloadDialogTest, ShowsPercentagesBytesAndSpeedAndKeepsItsMinimumSize) {
  const std::string a = "http://h/a.exe", b = "http://h/b.exe";
  session_.files[a].body = std::string(16384, 'a');
  ServedFile &fb = session_.files[b];
  fb.body = std::string(3 * 8192, 'b');
  fb.sendLength = false;
  Gate checked;
  fb.onRead = [&](int index) {
    if (index == 3) {
      checked.Wait();
    }
  };
  Add(a, 16384);
  Add(b, 0);
  platform_.times = {0, 100, 200, 300, 400, 500, 600};

  bool sawInitial = false, sawPercent = false, sawBytes = false;
  std::string speed, columns;
  LONG minWidth = 0, minHeight = 0, width = 0, height = 0;
  std::thread checker([&] {
    HWND dialog = WaitForDialog();
    if (dialog == nullptr) {
      checked.Open();
      return;
    }
    // The dialog is found as soon as it exists, before its WM_INITDIALOG has filled the list.
    sawInitial = WaitForCell(dialog, 0, 0, a) && WaitForCell(dialog, 1, 0, b);
    sawPercent = WaitForCell(dialog, 0, 1, "100%");
    sawBytes = WaitForCell(dialog, 1, 1, "24 KB");
    speed = ControlText(::GetDlgItem(dialog, IDC_SPEED));
    MINMAXINFO info = {};
    ::SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT r;
    ::GetWindowRect(dialog, &r);
    minWidth = info.ptMinTrackSize.x;
    minHeight = info.ptMinTrackSize.y;
    width = r.right - r.left;
    height = r.bottom - r.top;
    checked.Open();
  });
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::AllAttempted);
  checker.join();
  EXPECT_TRUE(sawInitial);
  EXPECT_TRUE(sawPercent);
  EXPECT_TRUE(sawBytes);          // no ExactSize: the bytes received, not a percentage
  EXPECT_EQ(speed, "80.00 KB/s"); // 8192 bytes in 100 ms
  EXPECT_EQ(minWidth, width);
  EXPECT_EQ(minHeight, height);
  EXPECT_EQ(batch_.items()[0].status, DownloadItemStatus::Ok);
  EXPECT_EQ(batch_.items()[1].status, DownloadItemStatus::Ok);
}

TEST_F(DownloadDialogTest, WrongSizeMarksOnlyItsOwnItemAndShowsTheBox) {
  const std::string a = "http://h/a.exe", b = "http://h/b.exe";
  session_.files[a].body = "aaaa";
  session_.files[a].lieLength = 9;
  session_.files[b].body = "bbbb";
  Gate checked;
  session_.files[b].onRead = [&](int) { checked.Wait(); };
  Add(a, 4);
  Add(b, 4);

  std::string boxText;
  DownloadItemStatus first = DownloadItemStatus::Pending, second = DownloadItemStatus::Ok;
  std::thread checker([&] {
    HWND dialog = WaitForDialog();
    HWND box = nullptr;
    for (int i = 0; i < 400 && box == nullptr; ++i) {
      HWND candidate = ::FindWindowA("#32770", "Error");
      if (candidate != nullptr && ::GetWindow(candidate, GW_OWNER) == dialog) {
        box = candidate;
      }
      ::Sleep(25);
    }
    if (box != nullptr) {
      boxText = ControlText(::GetDlgItem(box, 0xFFFF));
      first = batch_.items()[0].status;
      second = batch_.items()[1].status;
      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    checked.Open();
  });
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::AllAttempted);
  checker.join();
  EXPECT_EQ(boxText, "Wrong file size. The downloaded file cannot be found or is corrupt.");
  EXPECT_EQ(first, DownloadItemStatus::Failed);
  EXPECT_EQ(second, DownloadItemStatus::Pending);
  EXPECT_EQ(batch_.items()[1].status, DownloadItemStatus::Ok);
}

TEST_F(DownloadDialogTest, ClosesByItselfWhenNothingCanRun) {
  // Empty batch: the worker's last message arrives at once.
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::AllAttempted);
  EXPECT_FALSE(batch_.hasPauseEvent());
  // No worker thread: result 1 instead of waiting for messages that never come.
  Add("http://h/a.exe", 1);
  platform_.threadFails = true;
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::NotStarted);
  EXPECT_EQ(batch_.items()[0].status, DownloadItemStatus::Pending);
  // No internet session: the worker reports it and the dialog closes with 1.
  platform_.threadFails = false;
  platform_.session = nullptr;
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::NotStarted);
}

// A file the network failed after its tries again says why, with its address, in a box the
// batch does not wait for; a save failure only marks its item.
TEST_F(DownloadDialogTest, ReadAndSaveFailuresRefineTheStatus) {
  const std::string a = "http://h/a.exe", b = "http://h/dir/", c = "http://h/c.exe";
  session_.files[a].body = std::string(20000, 'a');
  session_.files[a].failReadAt = 1;
  session_.files[c].body = "c";
  Add(a, 20000);
  Add(b, 1);
  Add(c, 1);
  std::string boxText;
  std::thread checker([&] {
    HWND dialog = WaitForDialog();
    for (int i = 0; i < 400 && boxText.empty(); ++i) {
      HWND box = ::FindWindowA("#32770", "Error");
      if (box != nullptr && ::GetWindow(box, GW_OWNER) == dialog) {
        boxText = ControlText(::GetDlgItem(box, 0xFFFF));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
      ::Sleep(25);
    }
  });
  EXPECT_EQ(RunDownloadDialog(batch_, nullptr), DownloadRunResult::AllAttempted);
  checker.join();
  EXPECT_EQ(boxText, "The server cannot be reached.\n\nhttp://h/a.exe");
  EXPECT_EQ(batch_.items()[0].status, DownloadItemStatus::ReadFailed);
  EXPECT_EQ(batch_.items()[1].status, DownloadItemStatus::SaveFailed);
  EXPECT_EQ(batch_.items()[2].status, DownloadItemStatus::Ok);
}

TEST_F(DownloadDialogTest, ADialogThatCannotBeShownCountsAsNotStarted) {
  Add("http://h/a.exe", 1);
  // DialogBoxParamA refuses an owner that is no window.
  EXPECT_EQ(RunDownloadDialog(batch_, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654))),
            DownloadRunResult::NotStarted);
  EXPECT_FALSE(batch_.hasPauseEvent()); // no worker was started
  EXPECT_EQ(batch_.items()[0].status, DownloadItemStatus::Pending);
}

namespace {
// PostMessageA with a full queue for the first few posts (Wine sets no quota of its own).
int g_refusals = 0;
int g_posts = 0;
BOOL WINAPI QueueFullAtFirst(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_posts;
  if (g_refusals > 0) {
    --g_refusals;
    ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
  }
  return ::PostMessageA(hwnd, message, wParam, lParam);
}
} // namespace

// The message that closes the dialog must get through a full queue; a progress step may drop.
TEST(DownloadWindowNotifier, FinalMessagesArePostedAgainUntilTheQueueTakesThem) {
  HWND window =
      ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  WindowNotifier notifier(&QueueFullAtFirst);
  notifier.setWindow(window);
  const unsigned finals[] = {DLM_ALL_DONE, DLM_ABORTED, DLM_START_FAILED};
  for (unsigned code : finals) {
    g_refusals = 3;
    g_posts = 0;
    notifier.Post(code, 7, 0);
    EXPECT_EQ(g_posts, 4);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, code);
    EXPECT_EQ(msg.wParam, 7u);
  }
  g_refusals = 3;
  g_posts = 0;
  notifier.Post(DLM_PROGRESS, 8192, 0);
  EXPECT_EQ(g_posts, 1);
  ::DestroyWindow(window);
}

TEST(DownloadComCtl, VersionIsAtLeast580UnderThisSystem) { EXPECT_TRUE(IsComCtl580OrLater()); }
