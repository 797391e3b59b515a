// A quick save of an 800 by 600 game: the slot header with its thumbnail, the replacing write of a
// slot file into a save folder, and the 24 header reads of the save/load screen's grid.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/localTime.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "files/saveFile.h"
#include "graphics/screen.h"
#include "presentation/screens/saveSlots.h"

namespace {
// The body of a save in progress: about what the six sections of a game with a full backlog hold.
constexpr size_t kBodyBytes = 24u << 10;

bool sceneAndFolder() {
    resetEngineState();
    gScreenWidth = 800;
    gScreenHeight = 600;
    if (!createScreenCanvases()) return false;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            uint8_t* p = gNextScreen.pixels + (static_cast<size_t>(y) * 800 + x) * 3;
            p[0] = static_cast<uint8_t>(x * 7 + y);
            p[1] = static_cast<uint8_t>(y * 3);
            p[2] = static_cast<uint8_t>(x ^ y);
        }
    char folder[] = "/tmp/morvane-bench-XXXXXX";
    if (!mkdtemp(folder)) return false;
    return setSaveFolder((std::string(folder) + "/").c_str());
}

void BM_SaveHeaderWithThumbnail(benchmark::State& state) {
    if (!sceneAndFolder()) return state.SkipWithError("no scene");
    std::unique_ptr<SaveSlotHeader> header(new SaveSlotHeader);
    const LocalTime now{2026, 12, 10, 14, 5, 33, 0x01DB4A2B3C4D5E6Full};
    for (auto _ : state) {
        fillSaveHeader(*header, now, 3, "Day 12", "The long road home", "memo", gNextScreen);
        benchmark::DoNotOptimize(header->thumbnail[0]);
    }
}
BENCHMARK(BM_SaveHeaderWithThumbnail)->Unit(benchmark::kMillisecond);

void BM_SlotFileReplace(benchmark::State& state) {
    if (!sceneAndFolder()) return state.SkipWithError("no scene");
    std::vector<uint8_t> bytes(sizeof(SaveSlotHeader) + kBodyBytes, 0x5A);
    for (auto _ : state)
        if (!replaceSaveFile("savedata.000", [&bytes](cSaveFile& file) {
                return file.Write(bytes.data(), bytes.size());
            }))
            return state.SkipWithError("write failed");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_SlotFileReplace)->Unit(benchmark::kMillisecond);

void BM_SaveScreenHeaderReads(benchmark::State& state) {
    if (!sceneAndFolder()) return state.SkipWithError("no scene");
    std::vector<uint8_t> bytes(sizeof(SaveSlotHeader) + kBodyBytes, 0x5A);
    char name[16];
    for (int slot = 0; slot < 24; ++slot) {
        saveSlotFileName(slot, name);
        replaceSaveFile(name, [&bytes](cSaveFile& file) { return file.Write(bytes.data(), bytes.size()); });
    }
    std::unique_ptr<SaveSlotHeader> header(new SaveSlotHeader);
    for (auto _ : state)
        for (int slot = 0; slot < 24; ++slot) {
            saveSlotFileName(slot, name);
            cSaveFile file;
            if (!file.OpenRead(name) || !file.Read(header.get(), sizeof *header))
                return state.SkipWithError("read failed");
            file.Close();
        }
}
BENCHMARK(BM_SaveScreenHeaderReads)->Unit(benchmark::kMillisecond);
}  // namespace
