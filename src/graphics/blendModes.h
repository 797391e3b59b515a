// The fourteen blend modes on one colour byte: f(d, s) for a destination byte d and the source
// value s laid on it, and their weighted forms. These are the values the program has always
// produced (Exclusion of 0 and 0 is 1, Hardlight never exceeds 254, Overlay and Softlight are one
// curve rounded two ways); the vector forms reproduce them bit for bit.
#pragma once
#include <cstdint>

#include "graphics/pixelMath.h"

enum BlendMode : uint8_t {
    kBlendNone = 0,
    kBlendNormal = 1,
    kBlendAdd = 2,
    kBlendSub = 3,
    kBlendMulti = 4,
    kBlendDiv = 5,  // draws nothing
    kBlendScreen = 6,
    kBlendOverlay = 7,
    kBlendDodge = 8,
    kBlendBurn = 9,
    kBlendDarken = 10,
    kBlendLighten = 11,
    kBlendDifference = 12,
    kBlendExclusion = 13,
    kBlendHardlight = 14,
    kBlendSoftlight = 15,
};

// True for the modes that draw (1 to 4 and 6 to 15).
inline bool isDrawingBlendMode(int mode) { return mode >= 1 && mode <= 15 && mode != kBlendDiv; }

namespace blendmode {

// Each mode: f(d, s) on bytes 0..255 (divisions truncate; every operand is non-negative), and
// whether a weight scales the source first (s' = div255(s x w), then f) instead of laying the
// result over (d + div255((f - d) x w)).
struct Normal {
    static constexpr bool kScalesSource = false;
    static int f(int, int s) { return s; }
};
struct Add {
    static constexpr bool kScalesSource = true;
    static int f(int d, int s) { return d + s > 255 ? 255 : d + s; }
};
struct Sub {
    static constexpr bool kScalesSource = true;
    static int f(int d, int s) { return d - s < 0 ? 0 : d - s; }
};
struct Multi {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) { return div255(d * s); }
};
struct Screen {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) { return 255 - div255((255 - d) * (255 - s)); }
};
struct Overlay {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) { return div255(d * (div255(2 * s * (255 - d)) + d)); }
};
struct Dodge {
    static constexpr bool kScalesSource = true;
    static int f(int d, int s) {
        const int q = (d * 256) / (256 - s);
        return q > 255 ? 255 : q;
    }
};
struct Burn {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) {
        const int r = 255 - ((255 - d) * 256) / (s + 1);
        return r < 0 ? 0 : r > 255 ? 255 : r;
    }
};
struct Darken {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) { return d < s ? d : s; }
};
struct Lighten {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) { return d > s ? d : s; }
};
struct Difference {
    static constexpr bool kScalesSource = true;
    static int f(int d, int s) { return d > s ? d - s : s - d; }
};
struct Exclusion {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) {
        const int r = (((127 - d) * (127 - s)) >> 7) - 127;  // arithmetic shift (floor)
        return r < 0 ? -r : r;
    }
};
struct Hardlight {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) {
        return s < 128 ? (d * s) >> 7 : (32512 - (255 - d) * (255 - s)) >> 7;
    }
};
struct Softlight {
    static constexpr bool kScalesSource = false;
    static int f(int d, int s) {
        return div255(d * (255 - div255((255 - d) * (255 - s)))) + div255((255 - d) * div255(d * s));
    }
};

// The mode's result on d: f(d, s) at full weight, the weighted form otherwise.
template <class Mode>
inline uint8_t full(int d, int s) {
    return static_cast<uint8_t>(Mode::f(d, s));
}
template <class Mode>
inline uint8_t weighted(int d, int s, int w) {
    if (Mode::kScalesSource) return static_cast<uint8_t>(Mode::f(d, div255(s * w)));
    return static_cast<uint8_t>(d + div255((Mode::f(d, s) - d) * w));
}

}  // namespace blendmode

// One byte through a mode by number (for tests and tools; the kernels inline each mode): f(d, s),
// or with weight w (0..255) when weighted; mode must draw.
uint8_t blendByte(int mode, int d, int s);
uint8_t blendByteWeighted(int mode, int d, int s, int w);
