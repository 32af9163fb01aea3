#include "base/file.h"
#include "download/download_platform.h"

namespace {

class SystemLocalFile : public LocalFile {
public:
  bool Open(const std::string &path) override { return file_.OpenForAppend(path); }
  bool SeekFromBegin(uint64_t offset) override { return file_.SeekFromBegin(offset); }
  bool Truncate() override { return file_.Truncate(); }
  bool Write(const void *data, uint32_t size, uint32_t *written) override {
    return file_.Write(data, size, written);
  }
  bool Flush() override { return file_.Flush(); }
  void Close() override { file_.Close(); }

private:
  sys::File file_;
};

} // namespace

std::unique_ptr<LocalFile> NewSystemLocalFile() {
  return std::unique_ptr<LocalFile>(new SystemLocalFile);
}
