#include "packer/pack_writer.h"

#include <memory>
#include <new>

#include "base/file.h"
#include "packer/portable_system.h"

namespace {

constexpr uint32_t kCopyChunk = 256 * 1024;

// The output file plus the last bytes written, which decide the padding before the footer.
class SetupSink {
public:
  explicit SetupSink(const std::string &path) : path_(path) {}

  bool Create() { return file_.Create(path_); }

  bool Write(const void *data, uint32_t size) {
    const auto *bytes = static_cast<const char *>(data);
    uint32_t done = 0;
    while (done < size) {
      uint32_t moved = 0;
      if (!file_.Write(bytes + done, size - done, &moved) || moved == 0) {
        return false;
      }
      done += moved;
    }
    if (size >= kFooterSearchBlock) {
      tail_.assign(bytes + size - kFooterSearchBlock, kFooterSearchBlock);
    } else {
      tail_.append(bytes, size);
      if (tail_.size() > 2 * kFooterSearchBlock) {
        tail_.erase(0, tail_.size() - kFooterSearchBlock);
      }
    }
    return true;
  }

  bool Finish() { return file_.Flush() && file_.Close(); }
  void Abandon() {
    file_.Close();
    sys::DeleteFilePath(path_);
  }

  std::string tail() const {
    return tail_.size() > kFooterSearchBlock ? tail_.substr(tail_.size() - kFooterSearchBlock)
                                             : tail_;
  }

private:
  std::string path_;
  sys::File file_;
  std::string tail_;
};

// Copies exactly size bytes from the start of path; an input that is now shorter fails.
PackStatus CopyInput(const std::string &path, uint32_t size, char *buffer, SetupSink *sink,
                     const std::string &output) {
  sys::File in;
  if (!in.OpenRead(path)) {
    return IoError("cannot open '" + path + "' for reading");
  }
  uint32_t done = 0;
  while (done < size) {
    const uint32_t want = size - done < kCopyChunk ? size - done : kCopyChunk;
    uint32_t moved = 0;
    if (!in.Read(buffer, want, &moved)) {
      return IoError("cannot read '" + path + "'");
    }
    if (moved == 0) {
      return IoError("'" + path + "' became shorter while it was packed");
    }
    if (!sink->Write(buffer, moved)) {
      return IoError("cannot write '" + output + "' (disk full?)");
    }
    done += moved;
  }
  return PackOk();
}

PackStatus WriteAll(const SetupContents &contents, const std::string &output, SetupSink *sink,
                    uint32_t *written) {
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyChunk]);
  if (!buffer) {
    return IoError("out of memory");
  }
  PackStatus status = PackOk();
  if (!sink->Write(contents.stub.data(), static_cast<uint32_t>(contents.stub.size()))) {
    return IoError("cannot write '" + output + "' (disk full?)");
  }
  for (size_t i = 0; status.ok() && i < contents.entries.size(); ++i) {
    const PlannedEntry &entry = contents.entries[i];
    if (entry.fromMemory) {
      if (!sink->Write(entry.bytes.data(), static_cast<uint32_t>(entry.bytes.size()))) {
        return IoError("cannot write '" + output + "' (disk full?)");
      }
      continue;
    }
    status = CopyInput(entry.path, entry.size, buffer.get(), sink, output);
  }
  if (!status.ok()) {
    return status;
  }
  const PackLayout &layout = contents.layout;
  if (!sink->Write(layout.table.data(), static_cast<uint32_t>(layout.table.size()))) {
    return IoError("cannot write '" + output + "' (disk full?)");
  }
  const uint32_t padding =
      FooterPadding(sink->tail(), layout.sizeBeforeFooter, layout, contents.flags);
  const uint64_t total = static_cast<uint64_t>(layout.sizeBeforeFooter) + padding + kFooterSize;
  if (total > kMaxArchiveExtent) {
    return Refused("the setup would reach 2 GiB");
  }
  const std::string zeros(padding, '\0');
  unsigned char footer[kFooterSize];
  EncodeFooter(MakeFooter(layout, contents.flags, layout.sizeBeforeFooter + padding), footer);
  if (!sink->Write(zeros.data(), padding) || !sink->Write(footer, kFooterSize) || !sink->Finish()) {
    return IoError("cannot write '" + output + "' (disk full?)");
  }
  *written = static_cast<uint32_t>(total);
  return PackOk();
}

} // namespace

PackStatus WriteSetup(const SetupContents &contents, const std::string &output, uint32_t *written) {
  const std::string temp = output + "." + std::to_string(portable::ProcessId()) + ".partial";
  SetupSink sink(temp);
  if (!sink.Create()) {
    return IoError("cannot create '" + temp + "'");
  }
  const PackStatus status = WriteAll(contents, output, &sink, written);
  if (!status.ok()) {
    sink.Abandon();
    return status;
  }
  if (!portable::MarkExecutable(temp)) {
    sink.Abandon();
    return IoError("cannot make '" + temp + "' executable");
  }
  if (!portable::ReplaceFile(temp, output)) {
    sink.Abandon();
    return IoError("cannot move '" + temp + "' to '" + output + "'");
  }
  return PackOk();
}
