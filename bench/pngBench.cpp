// PNG decoding at 800 x 600: this program's decoder (as it runs, and held to inflating by zlib
// chunk by chunk) against libpng on the same files. All write the pixels in this program's byte
// order (blue first; alpha first).
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>

#include "benchImages.h"
#include "graphics/image.h"
#include "graphics/png/pngLoader.h"

namespace {
void decodeOurs(benchmark::State& state, const Bytes& file, bool zlibOnly = false) {
    for (auto _ : state) {
        cPngMemorySource source(file.data(), file.size());
        cPngLoader loader;
        loader.SetZlibOnly(zlibOnly);
        cSprite image;
        if (!loader.LoadFrom(source, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

struct Reader {
    const Bytes* file;
    size_t pos;
};
void readFromVector(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->pos + n > r->file->size()) png_error(png, "short");
    std::memcpy(out, r->file->data() + r->pos, n);
    r->pos += n;
}

void decodeLibpng(benchmark::State& state, const Bytes& file) {
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        cSprite image;
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            state.SkipWithError("libpng failed");
            break;
        }
        Reader reader = {&file, 0};
        png_set_read_fn(png, &reader, readFromVector);
        png_read_info(png, info);
        const int channels = png_get_channels(png, info);
        png_set_bgr(png);
        if (channels == 4) png_set_swap_alpha(png);
        png_read_update_info(png, info);
        const int w = static_cast<int>(png_get_image_width(png, info));
        const int h = static_cast<int>(png_get_image_height(png, info));
        image.Create(static_cast<uint8_t>(channels), w, h);
        for (int y = 0; y < h; ++y) png_read_row(png, image.pixels + size_t(y) * w * channels, nullptr);
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(image.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

void BM_PngDecodeRgb(benchmark::State& s) { decodeOurs(s, photoRgbPng()); }
void BM_PngDecodeRgb_zlib(benchmark::State& s) { decodeOurs(s, photoRgbPng(), true); }
void BM_PngDecodeRgb_libpng(benchmark::State& s) { decodeLibpng(s, photoRgbPng()); }
void BM_PngDecodeRgba(benchmark::State& s) { decodeOurs(s, spriteRgbaPng()); }
void BM_PngDecodeRgba_zlib(benchmark::State& s) { decodeOurs(s, spriteRgbaPng(), true); }
void BM_PngDecodeRgba_libpng(benchmark::State& s) { decodeLibpng(s, spriteRgbaPng()); }
}  // namespace

BENCHMARK(BM_PngDecodeRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeRgb_zlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeRgb_libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeRgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeRgba_zlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecodeRgba_libpng)->Unit(benchmark::kMillisecond);
