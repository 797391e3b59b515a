// The byte runs behind the screen transitions: cross-fades, brightness scaling and the two rule-wipe
// steps. Each has a scalar form (the formula itself) and a vector form that is bit-exact with it;
// the vector forms fall back to the scalar ones on a processor without the instructions.
#pragma once
#include <cstddef>
#include <cstdint>

// dst = (next x t + prev x (255 - t)) >> 8 for n bytes; t at most 255.
void crossFadeScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n, uint32_t t);
void crossFadeVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n, uint32_t t);
// dst = (next x t + prev x (256 - t)) >> 8 for n bytes; t at most 255.
void crossFadeMmxScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n,
                        uint32_t t);
void crossFadeMmxVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, size_t n,
                        uint32_t t);
// dst = (src x level) >> 8 for n bytes; level at most 255. dst may be src.
void scaleBrightnessScalar(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level);
void scaleBrightnessVector(uint8_t* dst, const uint8_t* src, size_t n, uint32_t level);
// For each of n 3-byte pixels: rule[i] < progress >> 2 copies the pixel of next into dst.
void wipeHardScalar(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t progress);
void wipeHardVector(uint8_t* dst, const uint8_t* next, const uint8_t* rule, size_t n,
                    int32_t progress);
// For each of n 3-byte pixels: w = rule[i] - ((progress - 512) >> 1); below 1 next, above 255
// prev, else every byte next + div255((prev - next) x w).
void wipeSoftScalar(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int32_t progress);
void wipeSoftVector(uint8_t* dst, const uint8_t* next, const uint8_t* prev, const uint8_t* rule,
                    size_t n, int32_t progress);

// Test seam: the widest instructions the vector forms may use (2 AVX2, 1 SSE, 0 none); the
// processor's own limit applies as well.
void limitTransitionVectors(int level);
