// Vector forms (SSE4.1) of the blend loops onto 3-byte destinations from 3- and 4-byte sources,
// every mode, with and without opacity; bit-exact with their scalar twins in blendKernels.h. Each
// runs the scalar twin where the processor lacks the instructions; arguments as the switches'.
#pragma once
#include <cstdint>

bool blend24From24Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From32Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blendOpacity24From24Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);
bool blendOpacity24From32Simd(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                              int opacity, uint8_t mode);

// The weight of 16 alpha bytes at an opacity, div255(opacity x alpha), as the vector forms form it
// (for the exhaustive check).
void blendWeight16(const uint8_t alpha[16], int opacity, uint8_t out[16]);
