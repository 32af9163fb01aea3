#include "ui/download_dialog_text.h"

#include "base/divide.h"
#include "base/text.h"

std::string DownloadSpeedText(uint32_t hundredths) {
  const uint32_t cents = hundredths % 100;
  return text::Concat(
      {text::Decimal(hundredths / 100), cents < 10 ? ".0" : ".", text::Decimal(cents), " KB/s"});
}

std::string DownloadStatusText(uint64_t currentBytes, uint32_t exactSize) {
  if (exactSize == 0) {
    return text::Decimal(currentBytes / 1024) + " KB";
  }
  // 64-bit product: no 32-bit byte count can overflow it.
  return text::Decimal(DivideU64(currentBytes * 100, exactSize)) + "%";
}

ProgressScale ScaleFor(uint64_t range) {
  ProgressScale scale;
  while ((range >> scale.shift) > 0x7FFFFFFFu) {
    ++scale.shift;
  }
  return scale;
}

int ProgressScale::Range(uint64_t range) const { return static_cast<int>(range >> shift); }

int ProgressScale::Position(uint64_t position, uint64_t range) const {
  // Past the range the bar stays full instead of wrapping.
  if (position > range) {
    position = range;
  }
  return static_cast<int>(position >> shift);
}
