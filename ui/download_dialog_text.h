// The texts and bar positions the download dialog shows, free of any window so that their
// arithmetic (which must not overflow for any 32-bit byte count) is tested natively.
#pragma once
#include <cstdint>
#include <string>

#include "resources/ui_texts.h"

// Speed label from hundredths of KB/s: 1205 gives "12.05 KB/s" in the English form, whose
// {whole} and {fraction} are the KB/s before and after the decimal point.
std::string DownloadSpeedText(uint32_t hundredths, const char *form = ui_text::kSpeed.english);

// Status column of the current item: "42%" of its ExactSize (more than 100% when the server
// sends more), or the bytes received as "512 KB" when the item has no ExactSize; in the forms
// given.
std::string DownloadStatusText(uint64_t currentBytes, uint32_t exactSize,
                               const char *percentForm = ui_text::kPercent.english,
                               const char *kilobytesForm = ui_text::kKilobytes.english);

// Progress bars take signed 32-bit ranges; larger counts are shifted down by a common amount.
struct ProgressScale {
  unsigned shift = 0;
  int Range(uint64_t range) const;
  int Position(uint64_t position, uint64_t range) const;
};
ProgressScale ScaleFor(uint64_t range);
