// Runs one download batch with the product's engine and real WinINet, and prints what came of
// it. Usage:
//   download_run <silent|messages|interactive> <folder> [<url> <exactSize> <sha256|->]...
// messages: the worker posts to this program, which prints every message as it arrives.
// interactive: the download dialog stands in front; a non-zero result prints the text the
// caller would show.
// destroy: as messages, but the batch is destroyed while it runs (half a second after its
// first progress message, or two seconds after its start), then "DESTROYED" is printed.
// Output lines: "MSG <code> <wParam> <lParam>", "RESULT <n>", "STATUS <i> <status>",
// "PROBLEM <i> <number> <the log's words>" for a file that failed, "TEXT <message>".
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "base/win/module_state.h"
#include "download/download_batch.h"
#include "download/download_codes.h"
#include "download/download_file.h"
#include "ui/dialog_pass_windows.h"
#include "ui/download_failure_message.h"

namespace {

class PrintingNotifier : public DownloadNotifier {
public:
  void Post(unsigned code, uintptr_t wParam, intptr_t lParam) override {
    std::lock_guard<std::mutex> lock(mutex_);
    progressed_ = progressed_ || code == DLM_PROGRESS;
    std::printf("MSG %u %lu %ld\n", code, static_cast<unsigned long>(wParam),
                static_cast<long>(lParam));
    std::fflush(stdout);
  }

  bool progressed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return progressed_;
  }

private:
  std::mutex mutex_;
  bool progressed_ = false;
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 3 || (argc - 3) % 3 != 0) {
    std::fprintf(stderr, "usage: download_run <mode> <folder> [<url> <size> <sha|->]...\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);

  std::string mode = argv[1];
  std::unique_ptr<DownloadBatch> owned(new DownloadBatch);
  DownloadBatch &batch = *owned;
  batch.setFolder(argv[2]);
  for (int i = 3; i < argc; i += 3) {
    DownloadItem item;
    item.url = argv[i];
    item.size = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    item.sha256 = std::string(argv[i + 2]) == "-" ? std::string() : argv[i + 2];
    item.prereqIndex = (i - 3) / 3;
    batch.items().push_back(item);
  }

  int result;
  if (mode == "destroy") {
    PrintingNotifier notifier;
    if (!batch.StartWorker(&notifier)) {
      return 1;
    }
    for (int i = 0; i < 200 && !notifier.progressed(); ++i) {
      ::Sleep(10);
    }
    ::Sleep(500);
    owned.reset(); // cancels and waits for the worker
    std::printf("DESTROYED\n");
    return 0;
  }
  // The batch's own result in messages mode, else the run's.
  DownloadRunResult run = DownloadRunResult::AllAttempted;
  if (mode == "messages") {
    PrintingNotifier notifier;
    if (!batch.StartWorker(&notifier)) {
      result = -1;
    } else {
      batch.WaitWorker();
      result = static_cast<int>(batch.result());
    }
  } else {
    if (mode == "silent") {
      run = batch.runSilently();
    } else {
      DialogPassWindows windows;
      run = windows.ShowDownloads(batch);
    }
    result = static_cast<int>(run);
  }
  std::printf("RESULT %d\n", result);
  for (size_t i = 0; i < batch.items().size(); ++i) {
    const DownloadItem &item = batch.items()[i];
    std::printf("STATUS %u %d\n", static_cast<unsigned>(i), static_cast<int>(item.status));
    if (item.status != DownloadItemStatus::Ok && item.status != DownloadItemStatus::Pending) {
      std::printf("PROBLEM %u %u %s\n", static_cast<unsigned>(i), item.problemCode,
                  DownloadProblemWords(item.problem));
    }
  }
  if (mode == "interactive" && run != DownloadRunResult::AllAttempted) {
    std::printf("TEXT %s\n",
                win::LoadResourceString(DownloadFailureStringId(FailureOf(run))).c_str());
  }
  return 0;
}
