// The screen transitions at 800 x 600 x 3 against a memcpy of the same 1,440,000 bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "benchImages.h"
#include "graphics/transitionKernels.h"

namespace {
constexpr size_t kPixels = size_t(kBenchWidth) * kBenchHeight;
constexpr size_t kBytes = kPixels * 3;

struct Screens {
    std::vector<uint8_t> dst, next, prev, rule;
    Screens() : dst(kBytes), next(photoRgb()), prev(kBytes), rule(kPixels) {
        std::mt19937 rng(7);
        for (size_t i = 0; i < kBytes; ++i) prev[i] = uint8_t(next[kBytes - 1 - i] ^ (rng() & 15));
        // A diagonal ramp rule with noise, as a typical wipe rule.
        for (int y = 0; y < kBenchHeight; ++y)
            for (int x = 0; x < kBenchWidth; ++x)
                rule[size_t(y) * kBenchWidth + x] = uint8_t((x + y) * 255 / 1400 ^ (rng() & 7));
    }
};
Screens& screens() {
    static Screens s;
    return s;
}
void bytesProcessed(benchmark::State& state) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytes));
}

void BM_Transition_memcpy(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        std::memcpy(s.dst.data(), s.next.data(), kBytes);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_CrossFade(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        crossFadeVector(s.dst.data(), s.next.data(), s.prev.data(), kBytes, 128);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_CrossFade_scalar(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        crossFadeScalar(s.dst.data(), s.next.data(), s.prev.data(), kBytes, 128);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_CrossFadeMmx(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        crossFadeMmxVector(s.dst.data(), s.next.data(), s.prev.data(), kBytes, 128);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_ScaleBrightness(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        scaleBrightnessVector(s.dst.data(), s.next.data(), kBytes, 127);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
// Progress 512, so about half the rule values pass; in place, as the wipe runs it.
void BM_MaskWipeHardStep(benchmark::State& state) {
    Screens& s = screens();
    std::memcpy(s.dst.data(), s.prev.data(), kBytes);
    for (auto _ : state) {
        wipeHardVector(s.dst.data(), s.next.data(), s.rule.data(), kPixels, 512);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_MaskWipeSoftStep(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        wipeSoftVector(s.dst.data(), s.next.data(), s.prev.data(), s.rule.data(), kPixels, 512);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
void BM_MaskWipeSoftStep_scalar(benchmark::State& state) {
    Screens& s = screens();
    for (auto _ : state) {
        wipeSoftScalar(s.dst.data(), s.next.data(), s.prev.data(), s.rule.data(), kPixels, 512);
        benchmark::ClobberMemory();
    }
    bytesProcessed(state);
}
}  // namespace

BENCHMARK(BM_Transition_memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade_scalar)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFadeMmx)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScaleBrightness)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskWipeHardStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskWipeSoftStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskWipeSoftStep_scalar)->Unit(benchmark::kMicrosecond);
