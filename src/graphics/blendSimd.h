// Vector forms of the blend loops onto 3-byte destinations from 3- and 4-byte sources, every mode,
// with and without opacity; bit-exact with their scalar twins in blendKernels.h; arguments as the
// switches'. The ...Simd forms take the widest instructions the processor runs (AVX2, else SSE4.1,
// else the scalar twin); the forms named after an instruction set use it when the processor has it
// and otherwise the next narrower one (for the checks and the benchmarks).
#pragma once
#include <cstdint>

bool blend24From24Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From32Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blendOpacity24From24Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);
bool blendOpacity24From32Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);

bool blend24From24Sse41(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From32Sse41(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blendOpacity24From24Sse41(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                               int opacity, uint8_t mode);
bool blendOpacity24From32Sse41(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                               int opacity, uint8_t mode);
bool blend24From24Avx2(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From32Avx2(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blendOpacity24From24Avx2(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);
bool blendOpacity24From32Avx2(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);

// The weight of 16 alpha bytes at an opacity, div255(opacity x alpha), as the vector forms form it
// (for the exhaustive check).
void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]);
