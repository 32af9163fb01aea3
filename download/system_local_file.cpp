#include "base/file.h"
#include "download/download_platform.h"

namespace {

class SystemLocalFile : public LocalFile {
public:
  explicit SystemLocalFile(bool flush) : flush_(flush) {}

  bool Open(const std::string &path, bool *existed) override {
    *existed = sys::FileExists(path);
    return file_.OpenForAppend(path);
  }
  bool GetSize(uint32_t *size) override { return file_.GetSize(size); }
  bool SeekFromBegin(uint32_t offset) override { return file_.SeekFromBegin(offset); }
  bool Truncate() override { return file_.Truncate(); }
  bool Write(const void *data, uint32_t size, uint32_t *written) override {
    return file_.Write(data, size, written);
  }
  bool Flush() override { return flush_ ? file_.Flush() : true; }
  void Close() override { file_.Close(); }

private:
  sys::File file_;
  bool flush_;
};

} // namespace

std::unique_ptr<LocalFile> NewSystemLocalFile(bool flushEachChunk) {
  return std::unique_ptr<LocalFile>(new SystemLocalFile(flushEachChunk));
}
