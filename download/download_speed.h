// The speed of one chunk, in hundredths of KB/s (1 KB = 1024 bytes).
#pragma once
#include <cstdint>

// elapsedMs is this chunk's time minus the previous one as an unsigned 32-bit difference, so a
// midnight crossing gives a huge value and a speed of about 0; 0 ms gives 0.
uint32_t ChunkSpeed(uint32_t bytes, uint32_t elapsedMs);

// Time of day in milliseconds from its parts.
uint32_t TimeOfDayFromParts(unsigned hour, unsigned minute, unsigned second, unsigned millisecond);
