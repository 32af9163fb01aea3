#include "ui/download_dialog_text.h"

#include "base/divide.h"
#include "base/text_builder.h"

std::string DownloadSpeedText(uint32_t hundredths, const char *form) {
  char whole[20];
  char fraction[20];
  // The hundredths always as two digits: those of 100 to 199 after their 1.
  return text::Builder()
      .AddForm(form,
               {{"whole", text::DecimalDigits(hundredths / 100, whole)},
                {"fraction", text::DecimalDigits(100 + hundredths % 100, fraction).substr(1)}})
      .Take();
}

std::string DownloadStatusText(uint64_t currentBytes, uint32_t exactSize, const char *percentForm,
                               const char *kilobytesForm) {
  char digits[20];
  // 64-bit product: no 32-bit byte count can overflow it.
  const std::string_view number = text::DecimalDigits(
      exactSize == 0 ? currentBytes / 1024 : DivideU64(currentBytes * 100, exactSize), digits);
  return text::Builder()
      .AddForm(exactSize == 0 ? kilobytesForm : percentForm, {{"count", number}})
      .Take();
}

ProgressScale ScaleFor(uint64_t range) {
  ProgressScale scale;
  // One bit at a time: a constant shift of a 64-bit count is the short one on a 32-bit build.
  for (uint64_t shifted = range; shifted > 0x7FFFFFFFu; shifted >>= 1) {
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
