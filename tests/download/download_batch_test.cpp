// The worker's bookkeeping against a scripted server: message order, statuses, resume, sizes,
// hashes, pause and cancel, and every fault of the failure table.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "base/file.h"
#include "download/download_batch.h"
#include "download/download_codes.h"
#include "download/sha256.h"
#include "tests/support/download_fakes.h"
#include "tests/support/scratch_folder.h"

namespace {

std::string Body(size_t size, char seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    s[i] = static_cast<char>(seed + static_cast<char>(i % 97));
  }
  return s;
}

const std::string kA = "http://127.0.0.1/files/a.exe";
const std::string kB = "http://127.0.0.1/files/b.exe";
const std::string kC = "http://127.0.0.1/files/c.exe";
const std::string kBlocked = "http://h/files/blocked.exe";

class DownloadEngine : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = scratch_.path();
    folder_ = dir_ + "/dl";
    platform_.session = &session_;
    batch_.setFolder(folder_);
  }

  // Where the engine keeps a URL's download, written out: the folder, a backslash and the
  // URL's last segment. On this host the backslash is an ordinary character, so the file
  // lies in the scratch folder under the name "dl\a.exe".
  std::string PathOf(const std::string &url) {
    const std::map<std::string, std::string> names = {
        {kA, "a.exe"}, {kB, "b.exe"}, {kC, "c.exe"}, {kBlocked, "blocked.exe"}};
    return dir_ + "/dl\\" + names.at(url);
  }
  void WriteLocal(const std::string &url, const std::string &content) {
    std::ofstream(PathOf(url), std::ios::binary) << content;
  }
  std::string ReadLocal(const std::string &url) {
    std::ifstream in(PathOf(url), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  bool LocalExists(const std::string &url) { return std::ifstream(PathOf(url)).good(); }

  void Add(const std::string &url, uint32_t size, const std::string &sha = std::string()) {
    DownloadItem item;
    item.url = url;
    item.size = size;
    item.sha256 = sha;
    item.prereqIndex = static_cast<int>(batch_.items().size());
    batch_.items().push_back(item);
  }
  ServedFile &Serve(const std::string &url, const std::string &body) {
    ServedFile &f = session_.files[url];
    f.body = body;
    return f;
  }
  // Runs the worker with the recorder and waits for it.
  void RunWorker() {
    ASSERT_TRUE(batch_.StartWorker(&recorder_));
    batch_.WaitWorker();
  }
  DownloadItemStatus Status(size_t i) { return batch_.items()[i].status; }

  ScratchFolder scratch_;
  std::string dir_, folder_;
  ScriptedSession session_;
  FakePlatform platform_;
  DownloadBatch batch_{platform_};
  RecordingNotifier recorder_;
};

} // namespace

TEST_F(DownloadEngine, CompletePartialAndMissingFilesInOneBatch) {
  std::string a = Body(10000, 'a'), b = Body(20000, 'b'), c = Body(5000, 'c');
  Serve(kA, a);
  Serve(kB, b).honoursRange = true;
  Serve(kC, c);
  WriteLocal(kA, a);
  WriteLocal(kB, b.substr(0, 12000));
  Add(kA, 10000);
  Add(kB, 20000);
  Add(kC, 5000);
  platform_.times = {1000, 1100, 1200, 1300, 1400};
  RunWorker();

  std::vector<Message> expected = {
      {DLM_FILE_STARTED, 0, 0},
      {DLM_PROGRESS, 10000, 0},
      {DLM_FILE_DONE, 0, 0},
      // b: resumed at 12000, then one 8000-byte chunk 100 ms after the start time.
      {DLM_FILE_STARTED, 1, 0},
      {DLM_PROGRESS, 12000, 0},
      {DLM_PROGRESS, 8000, 7812},
      {DLM_FILE_DONE, 1, 0},
      // c: start 1200, chunk at 1300.
      {DLM_FILE_STARTED, 2, 0},
      {DLM_PROGRESS, 5000, 4882},
      {DLM_FILE_DONE, 2, 0},
      {DLM_ALL_DONE, 0, 0}};
  EXPECT_EQ(recorder_.messages(), expected);
  EXPECT_EQ(platform_.agent, "Tessara");
  EXPECT_EQ(ReadLocal(kA), a);
  EXPECT_EQ(ReadLocal(kB), b);
  EXPECT_EQ(ReadLocal(kC), c);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Status(i), DownloadItemStatus::Ok);
  }
  EXPECT_EQ(batch_.result(), BatchResult::AllAttempted);
}

TEST_F(DownloadEngine, APartialFileAsksForTheRestAndAServerThatSendsAllStartsOver) {
  std::string a = Body(20000, 'a'), b = Body(20000, 'b'), c = Body(20000, 'c');
  Serve(kA, a).honoursRange = true;
  Serve(kB, b); // ignores the range: starts over
  // Answers the range with its first bytes, of the length asked: asked for whole instead.
  ServedFile &wrongPart = Serve(kC, c);
  wrongPart.honoursRange = wrongPart.sendsFirstBytes = true;
  WriteLocal(kA, a.substr(0, 9000));
  WriteLocal(kB, std::string(15000, 'x'));
  WriteLocal(kC, c.substr(0, 5000));
  Add(kA, 20000);
  Add(kB, 20000);
  Add(kC, 20000);
  RunWorker();

  EXPECT_EQ(ReadLocal(kA), a);
  // The old content is cut away before the fresh copy is written.
  EXPECT_EQ(ReadLocal(kB), b);
  EXPECT_EQ(ReadLocal(kC), c);
  std::vector<std::string> opened = {kA + " Range: bytes=9000-\r\n",
                                     kB + " Range: bytes=15000-\r\n",
                                     kC + " Range: bytes=5000-\r\n", kC};
  EXPECT_EQ(session_.opened, opened);
  std::vector<Message> m = recorder_.messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m[1], (Message{DLM_PROGRESS, 9000, 0}));
  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);
  EXPECT_EQ(Status(1), DownloadItemStatus::Ok);
}

TEST_F(DownloadEngine, WrongServerLengthLeavesTheFileAndGoesOn) {
  Serve(kA, Body(3000, 'a'));
  Serve(kB, Body(100, 'b'));
  WriteLocal(kA, "old");
  Add(kA, 2999);
  Add(kB, 100);
  RunWorker();
  std::vector<unsigned> codes = {DLM_FILE_STARTED, DLM_WRONG_SIZE, DLM_FILE_STARTED,
                                 DLM_PROGRESS,     DLM_FILE_DONE,  DLM_ALL_DONE};
  EXPECT_EQ(recorder_.codes(), codes);
  EXPECT_EQ(recorder_.messages()[1].wParam, 3000u);
  EXPECT_EQ(ReadLocal(kA), "old");
  EXPECT_EQ(Status(0), DownloadItemStatus::Failed);
  EXPECT_EQ(Status(1), DownloadItemStatus::Ok);
  EXPECT_EQ(batch_.result(), BatchResult::AllAttempted);
}

TEST_F(DownloadEngine, NoLengthIsFetchedWhateverItsSizeAndAPresentFileIsResumedNotTrusted) {
  std::string a = Body(30000, 'a');
  ServedFile &f = Serve(kA, a);
  f.sendLength = false;
  f.honoursRange = true;
  Add(kA, 0);
  RunWorker();
  EXPECT_EQ(ReadLocal(kA), a);
  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);

  // A later attempt with an empty leftover file must not take it as complete.
  WriteLocal(kA, "");
  batch_.items()[0].status = DownloadItemStatus::Pending;
  RunWorker();
  EXPECT_EQ(ReadLocal(kA), a);
}

// A read that fails, a connection that ends short, a 503 and a refused connection are tried
// again after 1, 2 and 4 s, each time from where the file ends; a 404 and a certificate error
// are not; only then does the file fail, and the batch goes on.
TEST_F(DownloadEngine, TransientFailuresAreTriedAgainAndResumed) {
  std::string a = Body(40000, 'a'), b = Body(20000, 'b');
  ServedFile &fa = Serve(kA, a);
  fa.honoursRange = true;
  fa.failReadAt = 2;
  fa.faulty = 2;
  ServedFile &fb = Serve(kB, b);
  fb.endCleanlyAt = 1;
  fb.status = 503;
  fb.faulty = 1;
  Serve(kC, "c").status = 404;
  Serve(kBlocked, "x").openError = 12038; // ERROR_INTERNET_SEC_CERT_CN_INVALID
  Add(kA, 40000);
  Add(kB, 20000);
  Add(kC, 1);
  Add(kBlocked, 1);
  Add("http://127.0.0.1:1/files/gone.exe", 1); // nothing listens
  RunWorker();

  EXPECT_EQ(ReadLocal(kA), a);
  EXPECT_EQ(ReadLocal(kB), b);
  std::vector<std::string> opened = {
      kA, kA + " Range: bytes=16384-\r\n", kA + " Range: bytes=32768-\r\n", kB, kB, kC, kBlocked};
  for (int i = 0; i < 4; ++i) {
    opened.push_back("http://127.0.0.1:1/files/gone.exe");
  }
  EXPECT_EQ(session_.opened, opened);
  const std::vector<DownloadItemStatus> statuses = {
      DownloadItemStatus::Ok, DownloadItemStatus::Ok, DownloadItemStatus::ReadFailed,
      DownloadItemStatus::ReadFailed, DownloadItemStatus::ReadFailed};
  const std::vector<DownloadProblem> problems = {
      DownloadProblem::None, DownloadProblem::None, DownloadProblem::HttpStatus,
      DownloadProblem::WrongHost, DownloadProblem::Connection};
  const std::vector<uint32_t> codes = {0, 0, 404, 12038, 12029};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(Status(i), statuses[i]) << i;
    EXPECT_EQ(batch_.items()[i].problem, problems[i]) << i;
    EXPECT_EQ(batch_.items()[i].problemCode, codes[i]) << i;
  }
  // a: two pauses; b: one; the address nobody answers: three.
  EXPECT_EQ(platform_.slept.load(), 1000u + 2000u + 1000u + 1000u + 2000u + 4000u);
  std::vector<Message> m = recorder_.messages();
  EXPECT_EQ(m[3], (Message{DLM_RETRYING, 1, 0}));
  // The retry reports the bytes the file already has as a resume.
  EXPECT_EQ(m[4], (Message{DLM_PROGRESS, 16384, 0}));
  EXPECT_EQ(m.back(), (Message{DLM_ALL_DONE, 0, 0}));
  EXPECT_EQ(batch_.result(), BatchResult::AllAttempted);
}

TEST_F(DownloadEngine, NoInternetSessionLeavesEveryItemPending) {
  platform_.session = nullptr;
  Add(kA, 1);
  RunWorker();
  EXPECT_EQ(recorder_.messages(), (std::vector<Message>{{DLM_START_FAILED, 0, 0}}));
  EXPECT_EQ(Status(0), DownloadItemStatus::Pending);
  EXPECT_EQ(batch_.result(), BatchResult::NoInternet);
}

TEST_F(DownloadEngine, SaveFailuresDoNotStopTheBatch) {
  const std::string blocked = kBlocked;
  Serve(blocked, "x");
  Serve(kA, Body(20000, 'a'));
  Serve("http://h/dir/", "y");
  Serve(kB, "b");
  Add(blocked, 1);         // a folder stands where the file should go
  Add(kA, 20000);          // short write
  Add("http://h/dir/", 1); // nothing to save it as
  Add(kB, 1);
  ASSERT_EQ(mkdir(PathOf(blocked).c_str(), 0700), 0);
  platform_.writeBudget = 8192 + 100;
  RunWorker();
  std::vector<Message> expected = {
      {DLM_FILE_STARTED, 0, 0}, {DLM_SAVE_FAILED, 0, 0},  {DLM_FILE_STARTED, 1, 0},
      {DLM_PROGRESS, 8192, 0},  {DLM_SAVE_FAILED, 1, 0},  {DLM_FILE_STARTED, 2, 0},
      {DLM_SAVE_FAILED, 2, 0},  {DLM_FILE_STARTED, 3, 0}, {DLM_PROGRESS, 1, 0},
      {DLM_FILE_DONE, 3, 0},    {DLM_ALL_DONE, 0, 0}};
  EXPECT_EQ(recorder_.messages(), expected);
  // A name that cannot be saved never reaches the server.
  EXPECT_EQ(session_.opened, (std::vector<std::string>{blocked, kA, kB}));
}

TEST_F(DownloadEngine, EmptyBatchEndsAtOnce) {
  RunWorker();
  EXPECT_EQ(recorder_.messages(), (std::vector<Message>{{DLM_ALL_DONE, 0, 0}}));
  EXPECT_EQ(batch_.result(), BatchResult::AllAttempted);
  EXPECT_EQ(batch_.runSilently(), DownloadRunResult::AllAttempted);
  EXPECT_FALSE(batch_.hasPauseEvent());
}

TEST_F(DownloadEngine, SpeedIsPerChunkAndZeroWithinOneTick) {
  Serve(kA, Body(4 * 8192, 'a'));
  Add(kA, 4 * 8192);
  // start, chunk 1 (+50 ms), chunk 2 (same tick), chunk 3 (+1 s), chunk 4 (over midnight).
  platform_.times = {86390000, 86390050, 86390050, 86391050, 10};
  RunWorker();
  std::vector<Message> m = recorder_.messages();
  ASSERT_EQ(m.size(), 7u);
  EXPECT_EQ(m[1].lParam, 16000);
  EXPECT_EQ(m[2].lParam, 0);
  EXPECT_EQ(m[3].lParam, 800);
  EXPECT_EQ(m[4].lParam, 0);
}

TEST_F(DownloadEngine, CancelDuringAFileStopsTheBatch) {
  Serve(kA, Body(50000, 'a')).onRead = [this](int index) {
    if (index == 1) {
      batch_.cancel();
    }
  };
  Serve(kB, "b");
  Add(kA, 50000);
  Add(kB, 1);
  RunWorker();
  std::vector<unsigned> codes = {DLM_FILE_STARTED, DLM_PROGRESS, DLM_PROGRESS, DLM_ABORTED};
  EXPECT_EQ(recorder_.codes(), codes);
  EXPECT_EQ(Status(0), DownloadItemStatus::Failed);
  EXPECT_EQ(Status(1), DownloadItemStatus::Pending);
  EXPECT_EQ(batch_.result(), BatchResult::Stopped);
  EXPECT_EQ(ReadLocal(kA).size(), 16384u);
}

TEST_F(DownloadEngine, PauseHoldsTheWorkerResumeContinuesCancelWakesIt) {
  std::atomic<bool> paused{false};
  Serve(kA, Body(100000, 'a')).onRead = [&](int index) {
    if (index == 2) {
      batch_.pause();
      paused = true;
    }
  };
  Add(kA, 100000);
  ASSERT_TRUE(batch_.StartWorker(&recorder_));
  while (!paused) {
    std::this_thread::yield();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  // The read in progress finishes; nothing more is read while paused.
  EXPECT_EQ(session_.totalReads.load(), 3);
  EXPECT_EQ(batch_.flags(), kDownloadPausedFlag);
  batch_.resume();
  batch_.WaitWorker();
  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);
  EXPECT_EQ(recorder_.codes().back(), DLM_ALL_DONE);

  // Second batch: paused, then cancelled while paused. The flags start clean.
  paused = false;
  DownloadBatch other(platform_);
  other.setFolder(folder_ + "second");
  for (const DownloadItem &item : batch_.items()) {
    other.items().push_back(item);
  }
  other.items()[0].status = DownloadItemStatus::Pending;
  session_.files[kA].onRead = [&](int index) {
    if (index == 0) {
      other.pause();
      paused = true;
    }
  };
  RecordingNotifier second;
  ASSERT_TRUE(other.StartWorker(&second));
  EXPECT_EQ(other.flags() & kDownloadCancelFlag, 0u);
  while (!paused) {
    std::this_thread::yield();
  }
  other.cancel();
  other.WaitWorker();
  EXPECT_EQ(second.codes(), (std::vector<unsigned>{DLM_FILE_STARTED, DLM_PROGRESS, DLM_ABORTED}));
  EXPECT_EQ(other.result(), BatchResult::Stopped);
  other.resume(); // the worker is gone: nothing is left to let go on
  EXPECT_EQ(other.flags(), kDownloadPausedFlag | kDownloadCancelFlag);
}

TEST_F(DownloadEngine, SilentRunResults) {
  Serve(kA, "a");
  Add(kA, 1);
  EXPECT_EQ(batch_.runSilently(), DownloadRunResult::AllAttempted);
  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);

  Add(kB, 1); // cannot be opened: it fails, the batch does not stop
  EXPECT_EQ(batch_.runSilently(), DownloadRunResult::AllAttempted);
  EXPECT_EQ(Status(1), DownloadItemStatus::ReadFailed);

  platform_.threadFails = true;
  EXPECT_EQ(batch_.runSilently(), DownloadRunResult::Stopped);
  EXPECT_FALSE(batch_.hasPauseEvent());
}

TEST_F(DownloadEngine, HashDecidesWhetherAFileIsOk) {
  std::string a = Body(9000, 'a'), b = Body(9000, 'b'), c = Body(100, 'c');
  Serve(kA, a);
  Serve(kB, b);
  Serve(kC, c);
  WriteLocal(kC, Body(100, 'z')); // right size, wrong bytes
  Add(kA, 9000, Sha256Hex(a.data(), a.size()));
  Add(kB, 9000, Sha256Hex(a.data(), a.size())); // tampered on the server
  Add(kC, 100, Sha256Hex(c.data(), c.size()));
  RunWorker();
  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);
  EXPECT_EQ(Status(1), DownloadItemStatus::Failed);
  // The whole file with the wrong bytes went before the download, which then got it right.
  EXPECT_EQ(Status(2), DownloadItemStatus::Ok);
  EXPECT_EQ(ReadLocal(kC), c);
  EXPECT_TRUE(LocalExists(kA));
  EXPECT_FALSE(LocalExists(kB));
  std::vector<unsigned> codes = {DLM_FILE_STARTED, DLM_PROGRESS, DLM_PROGRESS,  DLM_FILE_DONE,
                                 DLM_FILE_STARTED, DLM_PROGRESS, DLM_PROGRESS,  DLM_WRONG_SIZE,
                                 DLM_FILE_STARTED, DLM_PROGRESS, DLM_FILE_DONE, DLM_ALL_DONE};
  EXPECT_EQ(recorder_.codes(), codes);
}

TEST_F(DownloadEngine, ABatchDestroyedWhilePausedStopsItsWorker) {
  Serve(kA, Body(100000, 'a'));
  RecordingNotifier recorder;
  {
    DownloadBatch local(platform_);
    local.setFolder(folder_);
    DownloadItem item;
    item.url = kA;
    item.size = 100000;
    local.items().push_back(item);
    // Paused as its first read begins, whatever the machine's speed (a pause from this thread
    // could come after a fast worker had fetched the whole file): the worker then waits on
    // the event.
    session_.files[kA].onRead = [&local](int index) {
      if (index == 0) {
        local.pause();
      }
    };
    ASSERT_TRUE(local.StartWorker(&recorder));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } // must not hang
  EXPECT_EQ(recorder.codes().back(), DLM_ABORTED);
}

// Sparse files stand in for the big ones, so nothing near 4 GiB is written. A partial file
// past 2 GiB resumes where it ends; a leftover of 4 GiB and more under the name of a small
// download is no part of it and is fetched again from nothing.
TEST_F(DownloadEngine, LargePartialFilesResumeAndOversizedOnesStartOver) {
  const uint32_t big = 0xFFFFFFF0u; // the largest ExactSize, give or take
  const uint32_t have = big - 20000;
  ServedFile &a = Serve(kA, std::string());
  a.generatedSize = big;
  a.honoursRange = true;
  Serve(kB, "0123456789");
  WriteLocal(kA, "");
  WriteLocal(kB, "");
  ASSERT_EQ(truncate(PathOf(kA).c_str(), have), 0);
  ASSERT_EQ(truncate(PathOf(kB).c_str(), 0x100000000LL + 10), 0);
  Add(kA, big);
  Add(kB, 10);
  RunWorker();

  EXPECT_EQ(Status(0), DownloadItemStatus::Ok);
  EXPECT_EQ(Status(1), DownloadItemStatus::Ok);
  std::vector<Message> m = recorder_.messages();
  ASSERT_GE(m.size(), 2u);
  EXPECT_EQ(m[1], (Message{DLM_PROGRESS, have, 0}));
  EXPECT_EQ(session_.opened[0], kA + " Range: bytes=4294947280-\r\n");
  struct stat st;
  ASSERT_EQ(stat(PathOf(kA).c_str(), &st), 0);
  EXPECT_EQ(static_cast<uint64_t>(st.st_size), big);
  std::ifstream in(PathOf(kA), std::ios::binary);
  in.seekg(have);
  std::string tail(20000, '\0');
  in.read(&tail[0], 20000);
  std::string expected(20000, '\0');
  for (uint32_t i = 0; i < 20000; ++i) {
    expected[i] = GeneratedByte(have + i);
  }
  EXPECT_TRUE(tail == expected);
  EXPECT_EQ(ReadLocal(kB), "0123456789");
}
