// Blits and fills at 800 x 600 onto a 3-byte screen canvas; the hot kernels also in their SSE4.1
// and scalar forms beside the widest form the processor runs; memset and memcpy of the bytes the
// fills write (and read) as their floor.
#include <benchmark/benchmark.h>

#include <cstring>

#include "benchImages.h"
#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/kernelSimd.h"

namespace {
// A sprite in this program's byte order from raw PNG-order pixels.
void toSprite(const Bytes& raw, int bpp, cSprite& s) {
    s.Create(static_cast<uint8_t>(bpp), kBenchWidth, kBenchHeight);
    const size_t n = size_t(kBenchWidth) * kBenchHeight;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = &raw[i * bpp];
        uint8_t* d = s.pixels + i * bpp;
        if (bpp == 3) {
            d[0] = p[2], d[1] = p[1], d[2] = p[0];
        } else {
            d[0] = p[3], d[1] = p[2], d[2] = p[1], d[3] = p[0];
        }
    }
}

struct Fixture {
    cSprite screen, photo, sprite, translucent;
    Fixture() {
        toSprite(photoRgb(), 3, photo);
        toSprite(spriteRgba(), 4, sprite);
        toSprite(translucentRgba(), 4, translucent);
        screen = photo;
    }
};
Fixture& fixture() {
    static Fixture f;
    return f;
}

void pixelsProcessed(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kBenchWidth * kBenchHeight);
}

void BM_Blt_3from4_sprite(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.Blt(f.screen, f.sprite, 0, 0);
    pixelsProcessed(state);
}
void BM_Blt_3from4_translucent(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.Blt(f.screen, f.translucent, 0, 0);
    pixelsProcessed(state);
}
void BM_Blt_3from4_translucent_sse41(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        plain34Sse41(f.screen.pixels, f.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                     kBenchHeight);
    pixelsProcessed(state);
}
void BM_Blt_3from4_translucent_scalar(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        plain34Scalar(f.screen.pixels, f.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                      kBenchHeight);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from4_sprite(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.BltOpacity(f.screen, f.sprite, 0, 0, 128);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from4_translucent(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.BltOpacity(f.screen, f.translucent, 0, 0, 128);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from4_sse41(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        opacity34Sse41(f.screen.pixels, f.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                       kBenchHeight, 128);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from4_scalar(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        opacity34Scalar(f.screen.pixels, f.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                        kBenchHeight, 128);
    pixelsProcessed(state);
}
void BM_Blt_3from3_copy(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.Blt(f.screen, f.photo, 0, 0);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from3(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.BltOpacity(f.screen, f.photo, 0, 0, 100);
    pixelsProcessed(state);
}
void BM_BltOpacity_3from3_scalar(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        opacity33Scalar(f.screen.pixels, f.photo.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                        kBenchHeight, 100);
    pixelsProcessed(state);
}
void BM_FillRect_3(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) gGraphics.FillRect(f.screen, Rgb{10, 20, 30}, 0, 0, kBenchWidth, kBenchHeight);
    pixelsProcessed(state);
}
void BM_FillRectAlpha_3(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        gGraphics.FillRectAlpha(f.screen, Rgb{10, 20, 30}, 0, 0, kBenchWidth, kBenchHeight, 100);
    pixelsProcessed(state);
}
void BM_FillRect_4(benchmark::State& state) {
    Fixture& f = fixture();
    cSprite target = f.sprite;
    for (auto _ : state) gGraphics.FillRect(target, Rgb{10, 20, 30}, 0, 0, kBenchWidth, kBenchHeight);
    pixelsProcessed(state);
}
void BM_FillRectAlpha_4(benchmark::State& state) {
    Fixture& f = fixture();
    cSprite target = f.sprite;
    for (auto _ : state)
        gGraphics.FillRectAlpha(target, Rgb{10, 20, 30}, 0, 0, kBenchWidth, kBenchHeight, 100);
    pixelsProcessed(state);
}
void screenMemset(benchmark::State& state, cSprite& target) {
    for (auto _ : state) {
        std::memset(target.pixels, 10, static_cast<size_t>(target.ByteCount()));
        benchmark::ClobberMemory();
    }
    pixelsProcessed(state);
}
void BM_Screen_memset_3(benchmark::State& state) { screenMemset(state, fixture().screen); }
void BM_Screen_memset_4(benchmark::State& state) {
    cSprite target = fixture().sprite;
    screenMemset(state, target);
}
void BM_Screen_memcpy_4(benchmark::State& state) {
    Fixture& f = fixture();
    cSprite target = f.sprite;
    for (auto _ : state) {
        std::memcpy(target.pixels, f.translucent.pixels, static_cast<size_t>(target.ByteCount()));
        benchmark::ClobberMemory();
    }
    pixelsProcessed(state);
}
}  // namespace

BENCHMARK(BM_Blt_3from4_sprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt_3from4_translucent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt_3from4_translucent_sse41)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt_3from4_translucent_scalar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from4_sprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from4_translucent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from4_sse41)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from4_scalar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt_3from3_copy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltOpacity_3from3_scalar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRect_3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRectAlpha_3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRect_4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillRectAlpha_4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Screen_memset_3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Screen_memset_4)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Screen_memcpy_4)->Unit(benchmark::kMicrosecond);
