// Test pictures for the benchmarks: a photo-like colour picture, an RGBA sprite (opaque body,
// soft edges, transparent surround) and their PNG files written by libpng with its default filters.
#pragma once
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

constexpr int kBenchWidth = 800;
constexpr int kBenchHeight = 600;

// Raw pixels in PNG order (R,G,B or R,G,B,A), rows packed.
const Bytes& photoRgb();
const Bytes& spriteRgba();
// Every alpha partial (1..254): the worst case for the alpha kernels.
const Bytes& translucentRgba();

// PNG files of the pictures above (colour types 2 and 6).
const Bytes& photoRgbPng();
const Bytes& spriteRgbaPng();
