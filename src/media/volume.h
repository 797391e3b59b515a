// Channel volumes as DirectSound attenuations.
#pragma once
#include <cstdint>

// The quietest level a buffer takes, in hundredths of a decibel (silence).
constexpr int32_t kSilentDb = -10000;

// Volume 0 to maximum as hundredths of a decibel: 2000 x log10(volume / maximum), truncated
// toward zero and kept within -10000 to 0; 0 when the maximum is below 1, -10000 when the volume
// is. So 50 of 100 is -602 (-6.02 dB) and 100 of 100 is 0.
int32_t volumeToDb(int32_t volume, int32_t maximum);
