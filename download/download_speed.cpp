#include "download/download_speed.h"

uint32_t ChunkSpeed(uint32_t bytes, uint32_t elapsedMs) {
  if (elapsedMs == 0) {
    return 0;
  }
  double speed = static_cast<double>(bytes) * 1000.0 / (static_cast<double>(elapsedMs) * 1024.0);
  return static_cast<uint32_t>(speed * 100.0);
}

uint32_t TimeOfDayFromParts(unsigned hour, unsigned minute, unsigned second, unsigned millisecond) {
  return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}
