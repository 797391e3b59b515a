// Vector forms of the hot kernels (3-byte destinations from 3- and 4-byte sources), bit-exact with
// the scalar forms, which stay available for processors without the instructions and for tests.
#pragma once
#include <cstdint>

// True when the processor runs the vector forms (SSE4.1).
bool simdAvailable();

bool plain34Simd(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h);
bool plain34Scalar(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h);
bool opacity33Simd(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                   int opacity);
bool opacity33Scalar(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                     int opacity);
bool opacity34Simd(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                   int opacity);
bool opacity34Scalar(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                     int opacity);

// alphaOver of 16 bytes at once (d laid over by s with weights w), for the exhaustive check.
void alphaOver16(const uint8_t d[16], const uint8_t s[16], const uint8_t w[16], uint8_t out[16]);
