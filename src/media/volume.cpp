#include "media/volume.h"

#include <cmath>

int32_t volumeToDb(int32_t volume, int32_t maximum) {
    if (maximum < 1) return 0;
    if (volume < 1) return kSilentDb;
    // The difference of two logarithms is exact for powers of ten (1 of 100 is -4000, not -3999).
    const double d = 2000.0 * (std::log10(static_cast<double>(volume)) -
                               std::log10(static_cast<double>(maximum)));
    if (d <= kSilentDb) return kSilentDb;
    if (d >= 0) return 0;
    return static_cast<int32_t>(d);  // toward zero
}
