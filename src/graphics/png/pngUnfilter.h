// Undoing the PNG scanline filters.
#pragma once
#include <cstdint>

// Undoes one scanline's filter in place (filter 0 none, 1 Sub, 2 Up, 3 Average, 4 Paeth; other values
// leave the row). previous is the restored row above (all 0 for the first row). Sub, Average and
// Paeth of 3- and 4-byte pixels and Up of any pixels use vector instructions where the processor
// has them (SSE2), bit-exact with the scalar form.
void pngUnfilterRow(int filter, const uint8_t* previous, uint8_t* current, int width,
                    int bytesPerPixel);
// The same, always in plain scalar code (for the tests).
void pngUnfilterRowScalar(int filter, const uint8_t* previous, uint8_t* current, int width,
                          int bytesPerPixel);
