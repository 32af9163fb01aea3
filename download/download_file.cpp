#include "download/download_file.h"

#include <memory>

#include "base/file.h"
#include "base/text.h"
#include "base/text_builder.h"
#include "download/download_codes.h"
#include "download/download_speed.h"
#include "download/file_name_from_url.h"
#include "download/sha256.h"

namespace {

// The largest read; the transport returns what has arrived, up to this.
constexpr uint32_t kMaxRead = 1024 * 1024;
// Written bytes are flushed when this many have gathered since the last flush, and at the end.
constexpr uint64_t kFlushEvery = 8 * 1024 * 1024;
// Offsets a resume can start from: the request and the range header carry 32 bits.
constexpr uint64_t kLargestResume = 0xFFFFFFFFu;

// The periodic flush runs on a thread of its own, so that the download goes on while the disk
// writes; the next one, and the file's end, wait for it.
class BackgroundFlush {
public:
  BackgroundFlush(DownloadPlatform &platform, LocalFile &file) : platform_(platform), file_(file) {}
  ~BackgroundFlush() { Wait(); }
  BackgroundFlush(const BackgroundFlush &) = delete;
  BackgroundFlush &operator=(const BackgroundFlush &) = delete;

  void Start() {
    Wait();
    thread_ = platform_.StartThread(&BackgroundFlush::Run, &file_);
    if (!thread_) {
      file_.Flush();
    }
  }
  void Wait() {
    if (thread_) {
      thread_->Wait();
      thread_.reset();
    }
  }

private:
  static void Run(void *file) { static_cast<LocalFile *>(file)->Flush(); }

  DownloadPlatform &platform_;
  LocalFile &file_;
  std::unique_ptr<WorkerThread> thread_;
};

// pause() sets the paused bit before it resets the event, so looking at the bit first misses
// no pause, and a running download makes no system call for it (under Wine each wait on the
// event is a round trip to the wineserver, twice per read).
void HoldWhilePaused(const DownloadFileJob &job) {
  if ((job.flags->load() & kDownloadPausedFlag) != 0) {
    job.pauseEvent->Wait();
  }
}

bool Cancelled(const DownloadFileJob &job) {
  return (job.flags->load() & kDownloadCancelFlag) != 0;
}

void Post(const DownloadFileJob &job, unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (job.notify != nullptr) {
    job.notify->Post(message, wParam, lParam);
  }
}

// Reopens the URL for the bytes from offset on. Kept only when the server answers 206 with a
// Content-Range that starts at offset (and, when the full length is known, ends there too).
std::unique_ptr<HttpRequest> OpenRange(const DownloadFileJob &job, uint32_t offset, bool hasLength,
                                       uint32_t serverLength) {
  char digits[20];
  const std::string_view first = text::DecimalDigits(offset, digits);
  // The request asks "Range: bytes=N-"; the answer's range begins "bytes N-".
  std::unique_ptr<HttpRequest> request = job.internet->OpenUrl(
      job.item->url, text::Builder().Add({"Range: bytes=", first, "-\r\n"}).Take());
  const std::string from = text::Builder().Add({"bytes ", first, "-"}).Take();
  uint32_t status = 0;
  std::string range;
  if (!request || !request->QueryStatusCode(&status) || status != 206 ||
      !request->QueryContentRange(&range) || range.compare(0, from.size(), from) != 0) {
    return nullptr;
  }
  if (hasLength) {
    const size_t slash = range.find('/');
    if (slash == std::string::npos ||
        range.compare(slash + 1, std::string::npos, text::DecimalDigits(serverLength, digits)) !=
            0) {
      return nullptr;
    }
  }
  return request;
}

// A file whose hash or signer differs is removed, so that the next attempt starts from nothing
// and nothing runs it meanwhile.
FileDownloadResult CheckHash(const DownloadFileJob &job, uint64_t fileSize) {
  std::string actual;
  if ((job.item->sha256.empty() ||
       (Sha256OfFile(job.path, &actual) && SameSha256(actual, job.item->sha256))) &&
      (job.item->signer.empty() || job.platform->SignedBy(job.path, job.item->signer))) {
    return FileDownloadResult::Complete;
  }
  sys::DeleteFilePath(job.path);
  Post(job, DLM_WRONG_SIZE, static_cast<uintptr_t>(fileSize < 0xFFFFFFFFu ? fileSize : 0xFFFFFFFFu),
       0);
  return FileDownloadResult::SizeMismatch;
}

} // namespace

FileDownloadResult downloadFile(const DownloadFileJob &job) {
  // A URL without a usable last segment has nothing to be saved as.
  if (!IsUsableDownloadName(fileNameFromUrl(job.item->url))) {
    return FileDownloadResult::SaveFailed;
  }
  std::unique_ptr<HttpRequest> request = job.internet->OpenUrl(job.item->url, std::string());
  if (!request) {
    return Cancelled(job) ? FileDownloadResult::Aborted : FileDownloadResult::StartFailed;
  }
  uint32_t serverLength = 0;
  bool hasLength = request->QueryContentLength(&serverLength);
  if (!hasLength) {
    serverLength = 0;
  } else if (serverLength != job.item->size) {
    Post(job, DLM_WRONG_SIZE, serverLength, 0);
    return FileDownloadResult::SizeMismatch;
  }

  uint32_t previous = job.platform->TimeOfDayMs();
  std::unique_ptr<LocalFile> file = job.platform->NewLocalFile();
  bool existed = false;
  if (!file->Open(job.path, &existed)) {
    return FileDownloadResult::SaveFailed;
  }

  uint64_t position = 0;
  if (existed) {
    uint64_t size = 0;
    if (!file->GetSize(&size)) {
      return FileDownloadResult::SaveFailed;
    }
    // Without a length from the server a present file proves nothing; it is resumed instead.
    if (hasLength && size == serverLength) {
      Post(job, DLM_PROGRESS, static_cast<uintptr_t>(size), 0);
      file->Close();
      request.reset();
      return CheckHash(job, size);
    }
    // A file longer than the server's (or than any resume can reach) is no beginning of it.
    bool resumable = size > 0 && size <= kLargestResume && (!hasLength || size < serverLength);
    bool resumed = false;
    if (resumable) {
      uint32_t offset = static_cast<uint32_t>(size);
      if (request->SetFilePointer(offset)) {
        resumed = true;
      } else if (std::unique_ptr<HttpRequest> ranged =
                     OpenRange(job, offset, hasLength, serverLength)) {
        request = std::move(ranged);
        resumed = true;
      } else if (Cancelled(job)) {
        // The range request was given up: the partial file stays as it is.
        return FileDownloadResult::Aborted;
      }
    }
    if (resumed) {
      if (!file->SeekFromBegin(size)) {
        return FileDownloadResult::SaveFailed;
      }
      position = size;
      Post(job, DLM_PROGRESS, static_cast<uintptr_t>(size), 0);
    } else if (!file->SeekFromBegin(0) || !file->Truncate()) {
      // Starting over: no stale tail of the old content may survive.
      return FileDownloadResult::SaveFailed;
    }
  }

  FileDownloadResult result = FileDownloadResult::Complete;
  static_assert(kMaxRead <= 0x7FFFFFFF, "a read's size fits a signed message parameter");
  uint64_t unflushed = 0;
  BackgroundFlush flusher(*job.platform, *file);
  for (;;) {
    HoldWhilePaused(job);
    if ((job.flags->load() & kDownloadCancelFlag) != 0) {
      result = FileDownloadResult::Aborted;
      break;
    }
    const uint8_t *data = nullptr;
    uint32_t got = 0;
    if (!request->Read(&data, kMaxRead, &got)) {
      // A read given up for a cancel is the cancel, not a failure of the connection.
      result = Cancelled(job) ? FileDownloadResult::Aborted : FileDownloadResult::ReadFailed;
      break;
    }
    if (got == 0) {
      // A connection that ends early reads as a clean end; the announced length tells.
      if (hasLength && position != serverLength) {
        result = FileDownloadResult::ReadFailed;
      }
      break;
    }
    if (got > kMaxRead) {
      result = FileDownloadResult::ReadFailed;
      break;
    }
    uint32_t now = job.platform->TimeOfDayMs();
    // A pause that came during a long read holds the bytes until Resume: nothing moves on
    // screen or on disk while paused. A cancel wakes the worker; they are written then.
    HoldWhilePaused(job);
    uint32_t written = 0;
    if (!file->Write(data, got, &written) || written < got) {
      result = FileDownloadResult::SaveFailed;
      break;
    }
    position += got;
    unflushed += got;
    if (unflushed >= kFlushEvery) {
      flusher.Start();
      unflushed = 0;
    }
    Post(job, DLM_PROGRESS, got, static_cast<intptr_t>(ChunkSpeed(got, now - previous)));
    previous = now;
  }
  flusher.Wait();
  if (result == FileDownloadResult::Complete && !file->Flush()) {
    result = FileDownloadResult::SaveFailed;
  }
  file->Close();
  request.reset();
  if (result == FileDownloadResult::Complete) {
    result = CheckHash(job, position);
  }
  return result;
}
