#include "benchImages.h"

#include <png.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {
// Smooth shading with some texture and noise, as in a photograph or a painted background.
Bytes makePhoto(int channels) {
    Bytes out(size_t(kBenchWidth) * kBenchHeight * channels);
    std::mt19937 rng(42);
    for (int y = 0; y < kBenchHeight; ++y)
        for (int x = 0; x < kBenchWidth; ++x) {
            uint8_t* p = &out[(size_t(y) * kBenchWidth + x) * channels];
            double fx = x / 800.0, fy = y / 600.0;
            double base = 0.5 + 0.25 * std::sin(fx * 7 + fy * 3) + 0.2 * std::cos(fy * 11 - fx * 2);
            for (int c = 0; c < 3; ++c) {
                double v = base * (0.7 + 0.3 * std::sin(c * 1.7 + fx * 5 * (c + 1))) * 255;
                v += static_cast<int>(rng() % 9) - 4;
                p[c] = static_cast<uint8_t>(std::fmin(255, std::fmax(0, v)));
            }
        }
    return out;
}

Bytes makeSprite() {
    Bytes rgb = makePhoto(3);
    Bytes out(size_t(kBenchWidth) * kBenchHeight * 4);
    for (int y = 0; y < kBenchHeight; ++y)
        for (int x = 0; x < kBenchWidth; ++x) {
            size_t i = size_t(y) * kBenchWidth + x;
            std::memcpy(&out[i * 4], &rgb[i * 3], 3);
            // An ellipse with an 8-pixel soft edge.
            double dx = (x - 400) / 260.0, dy = (y - 330) / 270.0;
            double r = std::sqrt(dx * dx + dy * dy);
            double edge = (1.0 - r) * 260 / 8;
            out[i * 4 + 3] = static_cast<uint8_t>(std::fmin(255, std::fmax(0, edge * 255)));
        }
    return out;
}

Bytes makeTranslucent() {
    Bytes out = makeSprite();
    for (size_t i = 0; i < out.size(); i += 4) out[i + 3] = static_cast<uint8_t>(1 + (i / 4) % 254);
    return out;
}

void writeToVector(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void flushNothing(png_structp) {}

Bytes encode(const Bytes& raw, int channels) {
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Bytes();
    }
    png_set_write_fn(png, &file, writeToVector, flushNothing);
    png_set_IHDR(png, info, kBenchWidth, kBenchHeight, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kBenchHeight; ++y)
        png_write_row(png, const_cast<png_bytep>(&raw[size_t(y) * kBenchWidth * channels]));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}
}  // namespace

const Bytes& photoRgb() {
    static const Bytes b = makePhoto(3);
    return b;
}
const Bytes& spriteRgba() {
    static const Bytes b = makeSprite();
    return b;
}
const Bytes& translucentRgba() {
    static const Bytes b = makeTranslucent();
    return b;
}
const Bytes& photoRgbPng() {
    static const Bytes b = encode(photoRgb(), 3);
    return b;
}
const Bytes& spriteRgbaPng() {
    static const Bytes b = encode(spriteRgba(), 4);
    return b;
}
