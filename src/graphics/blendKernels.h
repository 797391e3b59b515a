// The blend mode switches, one per pair of pixel formats (destination bits from source bits), at
// full opacity and with an opacity (1..254). Each takes the first destination and source pixel,
// the destination and source widths in pixels (the row steps), the clipped size, (the opacity,)
// and the mode; each runs the mode's own loop and returns false for a mode that does not draw
// (0, 5, above 15) or a null pixel pointer.
#pragma once
#include <cstdint>

bool blend8From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend8From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend8From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend24From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend32From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend32From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);
bool blend32From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, uint8_t mode);

bool blendOpacity8From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                        uint8_t mode);
bool blendOpacity8From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                         uint8_t mode);
bool blendOpacity8From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                         uint8_t mode);
bool blendOpacity24From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                         uint8_t mode);
bool blendOpacity24From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                          uint8_t mode);
bool blendOpacity24From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                          uint8_t mode);
bool blendOpacity32From8(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                         uint8_t mode);
bool blendOpacity32From24(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                          uint8_t mode);
bool blendOpacity32From32(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h, int opacity,
                          uint8_t mode);

// The scalar loops of the 3-byte destinations from 3- and 4-byte sources: the twins of the vector
// forms (blendSimd.h), also run where the processor lacks the vector instructions.
bool blend24From24Scalar(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                         uint8_t mode);
bool blend24From32Scalar(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                         uint8_t mode);
bool blendOpacity24From24Scalar(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                                int opacity, uint8_t mode);
bool blendOpacity24From32Scalar(uint8_t* dst, const uint8_t* src, int dstWidth, int srcWidth, int w, int h,
                                int opacity, uint8_t mode);
