// Blend modes at 800 x 600 onto a 3-byte canvas (vector and scalar loops), the rotated blit of a
// 160 x 160 translucent picture (span-solving against the scan of every destination pixel, and a
// plain blit of the same picture), and the save-thumbnail resampler.
#include <benchmark/benchmark.h>

#include <cstring>

#include "benchImages.h"
#include "graphics/blendKernels.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/resample.h"
#include "graphics/rotatedBlit.h"

namespace {

void toSprite(const Bytes& raw, int bpp, int w, int h, int stride, cSprite& s) {
    s.Create(static_cast<uint8_t>(bpp), w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &raw[(size_t(y) * stride + x) * bpp];
            uint8_t* d = s.pixels + (size_t(y) * w + x) * bpp;
            if (bpp == 3) {
                d[0] = p[2], d[1] = p[1], d[2] = p[0];
            } else {
                d[0] = p[3], d[1] = p[2], d[2] = p[1], d[3] = p[0];
            }
        }
}

struct Pictures {
    cSprite screen, photo, translucent, hand, thumbnail;
    Pictures() {
        toSprite(photoRgb(), 3, kBenchWidth, kBenchHeight, kBenchWidth, photo);
        toSprite(translucentRgba(), 4, kBenchWidth, kBenchHeight, kBenchWidth, translucent);
        toSprite(translucentRgba(), 4, 160, 160, kBenchWidth, hand);
        thumbnail.Create(3, 104, 78);
        screen = photo;
    }
};
Pictures& pictures() {
    static Pictures p;
    return p;
}

void screenPixels(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * kBenchWidth * kBenchHeight);
}

// The screen is put back every 64 passes so that modes that saturate keep working on a picture.
void refresh(Pictures& p, int& n) {
    if (++n % 64 == 0) std::memcpy(p.screen.pixels, p.photo.pixels, p.photo.ByteCount());
}

void BM_BltBlend_3from4_translucent(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        gGraphics.BltBlend(p.screen, p.translucent, mode, 0, 0, 255);
        refresh(p, n);
    }
    screenPixels(state);
}
void BM_BltBlend_3from4_translucent_scalar(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        blend24From32Scalar(p.screen.pixels, p.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                            kBenchHeight, mode);
        refresh(p, n);
    }
    screenPixels(state);
}
void BM_BltBlendOpacity_3from3(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        gGraphics.BltBlend(p.screen, p.photo, mode, 0, 0, 128);
        refresh(p, n);
    }
    screenPixels(state);
}
void BM_BltBlendOpacity_3from3_scalar(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        blendOpacity24From24Scalar(p.screen.pixels, p.photo.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                                   kBenchHeight, 128, mode);
        refresh(p, n);
    }
    screenPixels(state);
}
void BM_BltBlendOpacity_3from4_translucent(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        gGraphics.BltBlend(p.screen, p.translucent, mode, 0, 0, 128);
        refresh(p, n);
    }
    screenPixels(state);
}
void BM_BltBlendOpacity_3from4_translucent_scalar(benchmark::State& state) {
    Pictures& p = pictures();
    const uint8_t mode = uint8_t(state.range(0));
    int n = 0;
    for (auto _ : state) {
        blendOpacity24From32Scalar(p.screen.pixels, p.translucent.pixels, kBenchWidth, kBenchWidth, kBenchWidth,
                                   kBenchHeight, 128, mode);
        refresh(p, n);
    }
    screenPixels(state);
}

void BM_BltRotated_160_translucent(benchmark::State& state) {
    Pictures& p = pictures();
    for (auto _ : state) bltRotated(p.screen, p.hand, 400, 300, 80, 80, 0.1, 1.0);
}
void BM_BltRotated_160_translucent_scan(benchmark::State& state) {
    Pictures& p = pictures();
    for (auto _ : state) bltRotatedScan(p.screen, p.hand, 400, 300, 80, 80, 0.1, 1.0);
}
void BM_Blt_160_translucent(benchmark::State& state) {
    Pictures& p = pictures();
    for (auto _ : state) gGraphics.Blt(p.screen, p.hand, 320, 220);
}

void BM_ResampleImageBox_800x600_to_104x78(benchmark::State& state) {
    Pictures& p = pictures();
    for (auto _ : state) resampleImageBox(p.thumbnail, p.photo);
    screenPixels(state);
}

void everyMode(benchmark::internal::Benchmark* b) {
    for (int mode : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) b->Arg(mode);
}

}  // namespace

BENCHMARK(BM_BltBlend_3from4_translucent)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlend_3from4_translucent_scalar)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlendOpacity_3from3)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlendOpacity_3from3_scalar)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlendOpacity_3from4_translucent)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltBlendOpacity_3from4_translucent_scalar)->Apply(everyMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltRotated_160_translucent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BltRotated_160_translucent_scan)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blt_160_translucent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResampleImageBox_800x600_to_104x78)->Unit(benchmark::kMicrosecond);
