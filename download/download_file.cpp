#include "download/download_file.h"

#include <memory>

#include "base/file.h"
#include "base/run_log.h"
#include "base/text.h"
#include "base/text_builder.h"
#include "download/download_codes.h"
#include "download/download_speed.h"
#include "download/file_name_from_url.h"
#include "download/find_file_size.h"
#include "download/sha256.h"

namespace {

// The largest read; the transport returns what has arrived, up to this.
constexpr uint32_t kMaxRead = 1024 * 1024;
// Written bytes are flushed when this many have gathered since the last flush, and at the end.
constexpr uint64_t kFlushEvery = 8 * 1024 * 1024;
// Redirects followed from one address; more is a loop.
constexpr int kMaxRedirects = 10;
// The pause before the first try again, doubled for each further one up to the last.
constexpr uint32_t kFirstPauseMs = 1000;
constexpr uint32_t kLastPauseMs = 4000;

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

bool IsSecure(const std::string &url) { return text::StartsWithNoCase(url, "https://"); }

// What a failed open's system error says: WinINet's certificate errors are told apart, every
// other failure is the connection's.
DownloadProblem ProblemOfError(uint32_t error) {
  if (error == 12037) { // ERROR_INTERNET_SEC_CERT_DATE_INVALID
    return DownloadProblem::Expired;
  }
  if (error == 12038) { // ERROR_INTERNET_SEC_CERT_CN_INVALID
    return DownloadProblem::WrongHost;
  }
  // From ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED and ERROR_INTERNET_INVALID_CA to
  // ERROR_INTERNET_SEC_CERT_REV_FAILED (Wine's answer for an unknown authority), and
  // ERROR_INTERNET_SEC_INVALID_CERT and ERROR_INTERNET_SEC_CERT_REVOKED.
  return (error >= 12044 && error <= 12057) || error == 12169 || error == 12170
             ? DownloadProblem::Untrusted
             : DownloadProblem::Connection;
}

// Opens url, following its redirects itself (never from https to http, which WinINet would
// follow silently on some systems) and asking for the proxy's credentials where a window is
// there to ask from. Null with *problem set when it fails; otherwise *status is the answer's.
std::unique_ptr<HttpRequest> OpenAddress(const DownloadFileJob &job, std::string url,
                                         const std::string &headers, uint32_t *status,
                                         DownloadProblem *problem) {
  DownloadItem &item = *job.item;
  for (int hop = 0; hop <= kMaxRedirects; ++hop) {
    if (!IsWebAddress(url)) {
      break;
    }
    std::unique_ptr<HttpRequest> request = job.internet->OpenUrl(url, headers, &item.problemCode);
    if (!request) {
      *problem = Cancelled(job) ? DownloadProblem::Aborted : ProblemOfError(item.problemCode);
      return nullptr;
    }
    if (!request->QueryStatusCode(status)) {
      *status = 0;
    }
    item.problemCode = *status;
    if (*status == 407 && request->AskCredentials(job.notify ? job.notify->Owner() : nullptr)) {
      continue;
    }
    std::string location;
    if (*status < 300 || *status > 399 || !request->QueryHeader(HttpHeader::Location, &location) ||
        location.empty()) {
      return request;
    }
    // The next address: the one named, or the path named on the same server.
    const bool secure = IsSecure(url);
    if (location[0] == '/') {
      const size_t path = url.find('/', url.find("://") + 3);
      url.resize(path < url.size() ? path : url.size());
      url += location;
    } else {
      url = location;
    }
    if (secure && !IsSecure(url)) {
      *problem = DownloadProblem::InsecureRedirect;
      return nullptr;
    }
  }
  *problem = DownloadProblem::BadAddress;
  return nullptr;
}

// Whether the file has the item's hash and signer; one that has not is deleted, so that the
// next try starts from nothing and nothing runs it meanwhile.
bool FileMatches(const DownloadFileJob &job) {
  const DownloadItem &item = *job.item;
  std::string actual;
  if ((item.sha256.empty() ||
       (Sha256OfFile(job.path, &actual) && SameSha256(actual, item.sha256))) &&
      (item.signer.empty() || job.platform->SignedBy(job.path, item.signer))) {
    return true;
  }
  sys::DeleteFilePath(job.path);
  return false;
}

// Whether a 206 carries the part asked for: its Content-Range reads "bytes <offset>-...".
bool RangeStartsAt(HttpRequest &request, uint32_t offset) {
  std::string range;
  char digits[20];
  const std::string_view first = text::DecimalDigits(offset, digits);
  if (!request.QueryHeader(HttpHeader::ContentRange, &range)) {
    return false;
  }
  const size_t blank = text::FindChar(range, ' ');
  if (blank == std::string::npos) {
    return false;
  }
  const size_t start = blank + 1;
  return range.compare(start, first.size(), first) == 0 &&
         text::FindChar(range, '-', start) == start + first.size();
}

DownloadProblem WrongFile(DownloadItem &item, uint64_t size) {
  item.problemCode = size < 0xFFFFFFFFu ? static_cast<uint32_t>(size) : 0xFFFFFFFFu;
  return DownloadProblem::WrongFile;
}

// One try at one address.
DownloadProblem TryAddress(const DownloadFileJob &job, const std::string &url) {
  DownloadItem &item = *job.item;
  uint64_t size = 0;
  uint64_t writeTime = 0;
  if (!FindFileSize(job.path, &size, &writeTime)) {
    size = 0;
  }
  if (item.size != 0 && size == item.size) {
    if (FileMatches(job)) {
      Post(job, DLM_PROGRESS, static_cast<uintptr_t>(size), 0);
      return DownloadProblem::None;
    }
    size = 0;
  }
  // A file longer than the download, or than a range request can reach, is no beginning of it.
  uint32_t offset =
      size <= 0xFFFFFFFFu && (item.size == 0 || size < item.size) ? static_cast<uint32_t>(size) : 0;
  uint32_t status = 0;
  bool resumed = false;
  DownloadProblem problem = DownloadProblem::None;
  std::unique_ptr<HttpRequest> request;
  for (;;) {
    std::string headers;
    if (offset != 0) {
      headers = text::Builder().Add("Range: bytes=").AddNumber(offset).Add("-\r\n").Take();
    }
    request = OpenAddress(job, url, headers, &status, &problem);
    if (!request) {
      return problem;
    }
    // A 206 carries the rest asked for; a 200 carries the whole file. A 416, or a 206 with
    // another part than asked for, means the file is asked for whole.
    resumed = offset != 0 && status == 206 && RangeStartsAt(*request, offset);
    if (offset == 0 || resumed || (status != 416 && status != 206)) {
      break;
    }
    offset = 0;
  }
  if (status == 407) {
    return DownloadProblem::ProxyCredentials;
  }
  // A reset connection can answer without a status under Wine.
  if (status < 200 || status > 299) {
    return status >= 400 && status < 500 ? DownloadProblem::HttpStatus
           : status == 0                 ? DownloadProblem::Connection
                                         : DownloadProblem::ServerError;
  }
  if (!resumed) {
    offset = 0;
  }
  // The whole length: the part's, after the part the file has. Without a length from the
  // server, whatever it sends is the file.
  uint32_t length = 0;
  const bool hasLength = request->QueryContentLength(&length);
  const uint64_t total = offset + uint64_t{length};
  if (hasLength && total != item.size && !(item.size == 0 && item.checksContent())) {
    return WrongFile(item, total);
  }

  std::unique_ptr<LocalFile> file = job.platform->NewLocalFile();
  // Starting over cuts the old content away; a resume cuts nothing.
  if (!file->Open(job.path) || !file->SeekFromBegin(offset) || !file->Truncate()) {
    return DownloadProblem::SaveFailed;
  }
  if (resumed) {
    Post(job, DLM_PROGRESS, offset, 0);
  }
  uint64_t position = offset;
  uint32_t previous = job.platform->TimeOfDayMs();
  static_assert(kMaxRead <= 0x7FFFFFFF, "a read's size fits a signed message parameter");
  uint64_t unflushed = 0;
  BackgroundFlush flusher(*job.platform, *file);
  item.problemCode = 0;
  for (;;) {
    HoldWhilePaused(job);
    if (Cancelled(job)) {
      problem = DownloadProblem::Aborted;
      break;
    }
    const uint8_t *data = nullptr;
    uint32_t got = 0;
    if (!request->Read(&data, kMaxRead, &got) || got > kMaxRead) {
      // A read given up for a cancel is the cancel, not a failure of the connection.
      problem = Cancelled(job) ? DownloadProblem::Aborted : DownloadProblem::Connection;
      break;
    }
    if (got == 0) {
      // A connection that ends early reads as a clean end; the announced length tells.
      if (hasLength && position != total) {
        problem = DownloadProblem::Connection;
      }
      break;
    }
    uint32_t now = job.platform->TimeOfDayMs();
    // A pause that came during a long read holds the bytes until Resume: nothing moves on
    // screen or on disk while paused. A cancel wakes the worker; they are written then.
    HoldWhilePaused(job);
    uint32_t written = 0;
    if (!file->Write(data, got, &written) || written < got) {
      problem = DownloadProblem::SaveFailed;
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
  if (problem == DownloadProblem::None && !file->Flush()) {
    problem = DownloadProblem::SaveFailed;
  }
  file->Close();
  request.reset();
  if (problem != DownloadProblem::None || FileMatches(job)) {
    return problem;
  }
  // A resumed file may have begun as another release of a "latest" file: once more, whole.
  if (resumed) {
    Post(job, DLM_RETRYING, 0, 0);
    return TryAddress(job, url);
  }
  return WrongFile(item, position);
}

// The file copied from a folder, kept when it passes the checks a download would.
bool CopyFromFolder(const DownloadFileJob &job, const std::string &from) {
  const DownloadItem &item = *job.item;
  uint64_t size = 0;
  uint64_t writeTime = 0;
  const bool sizeOk = FindFileSize(from, &size, &writeTime) &&
                      (item.size != 0 ? size == item.size : item.checksContent());
  if (sizeOk && sys::CopyFilePath(from, job.path) && FileMatches(job)) {
    Post(job, DLM_PROGRESS, static_cast<uintptr_t>(size), 0);
    return true;
  }
  return false;
}

bool IsTransient(DownloadProblem problem) {
  return problem == DownloadProblem::Connection || problem == DownloadProblem::ServerError;
}

// Sleeps for ms unless the batch is cancelled meanwhile; false when it is.
bool PauseUnlessCancelled(const DownloadFileJob &job, uint32_t ms) {
  constexpr uint32_t kStepMs = 50;
  for (uint32_t slept = 0; slept < ms && !Cancelled(job); slept += kStepMs) {
    job.platform->Sleep(kStepMs);
  }
  return !Cancelled(job);
}

} // namespace

const char *DownloadProblemWords(DownloadProblem problem) {
  switch (problem) {
  case DownloadProblem::WrongFile:
    return "wrong size, hash or signer";
  case DownloadProblem::Connection:
    return "no connection";
  case DownloadProblem::Untrusted:
    return "untrusted certificate";
  case DownloadProblem::WrongHost:
    return "certificate of another host";
  case DownloadProblem::Expired:
    return "expired certificate";
  case DownloadProblem::InsecureRedirect:
    return "redirect to http";
  case DownloadProblem::ProxyCredentials:
    return "no proxy credentials";
  case DownloadProblem::BadAddress:
    return "bad address";
  default: // an error status; the others end the tries before they are told
    break;
  }
  return "HTTP status";
}

namespace {

// Whether a problem ends the item's tries: it is done, cancelled, or cannot be saved anywhere.
bool Final(DownloadProblem problem) {
  return problem == DownloadProblem::None || problem == DownloadProblem::Aborted ||
         problem == DownloadProblem::SaveFailed;
}

// Tries one address, and again after a transient failure with a growing pause.
DownloadProblem TryWithPauses(const DownloadFileJob &job, const std::string &address) {
  DownloadItem &item = *job.item;
  for (uint32_t pause = kFirstPauseMs;; pause *= 2) {
    item.problem = TryAddress(job, address);
    if (Final(item.problem)) {
      return item.problem;
    }
    runlog::Line("Download $: % (%)",
                 {address, DownloadProblemWords(item.problem), item.problemCode});
    if (!IsTransient(item.problem) || pause > kLastPauseMs) {
      return item.problem;
    }
    Post(job, DLM_RETRYING, pause / 1000, 0);
    if (!PauseUnlessCancelled(job, pause)) {
      return item.problem = DownloadProblem::Aborted;
    }
  }
}

} // namespace

DownloadProblem downloadFile(const DownloadFileJob &job, const std::string &source) {
  DownloadItem &item = *job.item;
  std::string fromSource;
  if (IsWebAddress(source)) {
    fromSource = source;
    if (fromSource.back() != '/') {
      fromSource += '/';
    }
    fromSource += fileNameFromUrl(item.url);
    if (Final(TryWithPauses(job, fromSource))) {
      return item.problem;
    }
    Post(job, DLM_RETRYING, 0, 0);
  } else if (!source.empty() && UsableDownloadPath(source, item.url, &fromSource) &&
             CopyFromFolder(job, fromSource)) {
    return item.problem = DownloadProblem::None;
  }
  const size_t mirrors = item.mirrors != nullptr ? item.mirrors->size() : 0;
  for (size_t i = 0; i <= mirrors; ++i) {
    if (i != 0) {
      Post(job, DLM_RETRYING, 0, 0);
    }
    if (Final(TryWithPauses(job, i == 0 ? item.url : (*item.mirrors)[i - 1]))) {
      break;
    }
  }
  return item.problem;
}
