#include "download/download_speed.h"

#include "base/divide.h"

uint32_t ChunkSpeed(uint32_t bytes, uint32_t elapsedMs) {
  if (elapsedMs == 0) {
    return 0;
  }
  // Hundredths of KB/s: bytes * 100 * 1000 / (ms * 1024), that is bytes * 3125 / (ms * 32), in
  // whole numbers (two floor divisions give the floor of the whole quotient).
  const uint64_t hundredths = DivideU64(uint64_t{bytes} * 3125u, elapsedMs) >> 5;
  return hundredths > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(hundredths);
}

uint32_t TimeOfDayFromParts(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}
