// Vector forms of the hot kernels (3-byte destinations from 3- and 4-byte sources), bit-exact with
// the scalar forms, which stay available for processors without the instructions and for tests.
// The ...Simd forms take the widest instructions the processor runs (AVX2, else SSE4.1, else
// none); the forms named after an instruction set use it when the processor has it and otherwise
// the next narrower one.
#pragma once
#include <cstdint>

// True when the processor runs the vector forms (SSE4.1).
bool simdAvailable();
// True when the processor also runs the AVX2 forms.
bool avx2Available();

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
bool plain34Sse41(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h);
bool plain34Avx2(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h);
bool opacity34Sse41(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                    int opacity);
bool opacity34Avx2(uint8_t* dst, const uint8_t* src, int dstPitch, int srcPitch, int w, int h,
                   int opacity);

// Lays each row's bytes (w x bpp of them, rows stepping by pitch pixels) over by the repeating
// pattern with weight a: byte i becomes alphaOver(d, pattern[i % 48], a). 48 is a multiple of
// every pixel size, so one pattern serves each format.
void overPatternSimd(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t pattern[48],
                     int a);
void overPatternScalar(uint8_t* dst, int bpp, int pitch, int w, int h, const uint8_t pattern[48],
                       int a);

// alphaOver of 16 bytes at once (d laid over by s with weights w) by the SSE4.1 arithmetic, and of
// 32 bytes by the AVX2 arithmetic, for the exhaustive checks.
void alphaOver16(const uint8_t d[16], const uint8_t s[16], const uint8_t w[16], uint8_t out[16]);
void alphaOver32(const uint8_t d[32], const uint8_t s[32], const uint8_t w[32], uint8_t out[32]);
