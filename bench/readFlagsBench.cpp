// The read-text log of a long game: about 1 MB of ranges over 2000 scripts, read into the table
// and written back as text; a scan for the line ends of the same text as the floor.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/moduleState.h"
#include "scenario/readflags/readFlags.h"

namespace {
std::string bigLog() {
    std::string text;
    char line[64];
    for (int script = 0; text.size() < (1u << 20); ++script) {
        for (int r = 0; r < 40; ++r) {
            std::snprintf(line, sizeof line, "\\%d %d\r", r * 30 + 1, r * 30 + 20);
            text += line;
        }
        std::snprintf(line, sizeof line, "chapter%04d.txt\r", script);
        text += line;
    }
    return text;
}

void BM_ReadFlagsLoadLog(benchmark::State& state) {
    const std::string text = bigLog();
    for (auto _ : state) {
        resetEngineState();
        mReadFlags::readLogText(text.c_str());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadFlagsLoadLog)->Unit(benchmark::kMillisecond);

void BM_ReadFlagsLogText(benchmark::State& state) {
    const std::string text = bigLog();
    resetEngineState();
    mReadFlags::readLogText(text.c_str());
    for (auto _ : state) benchmark::DoNotOptimize(mReadFlags::logText());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadFlagsLogText)->Unit(benchmark::kMillisecond);

// The least a reader of the text does: every line end found (memchr).
void BM_ReadFlagsLineScan(benchmark::State& state) {
    const std::string text = bigLog();
    for (auto _ : state) {
        size_t lines = 0;
        for (const char* p = text.data(); (p = static_cast<const char*>(
                 std::memchr(p, '\r', text.size() - size_t(p - text.data())))) != nullptr; ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadFlagsLineScan)->Unit(benchmark::kMillisecond);
}  // namespace
