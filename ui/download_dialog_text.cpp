#include "ui/download_dialog_text.h"

#include <cstdio>

std::string DownloadSpeedText(uint32_t hundredths) {
  char text[32];
  std::snprintf(text, sizeof text, "%lu.%02lu KB/s", static_cast<unsigned long>(hundredths / 100),
                static_cast<unsigned long>(hundredths % 100));
  return text;
}

std::string DownloadStatusText(uint64_t currentBytes, uint32_t exactSize) {
  char text[32];
  if (exactSize == 0) {
    std::snprintf(text, sizeof text, "%llu KB",
                  static_cast<unsigned long long>(currentBytes / 1024));
  } else {
    // 64-bit product: no 32-bit byte count can overflow it.
    std::snprintf(text, sizeof text, "%llu%%",
                  static_cast<unsigned long long>(currentBytes * 100 / exactSize));
  }
  return text;
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
