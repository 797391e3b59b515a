// A quick save of an 800 by 600 game: the slot header with its thumbnail, the replacing write of a
// slot file into a save folder, and the 24 header reads of the save/load screen's grid; the same
// writes and reads through plain POSIX calls (no keystream) as their floor.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
// The save folder of the last sceneAndFolder, with its "/".
std::string gFolder;

// Each benchmark's folder goes when the next one is made, the last one at exit: runs leave no
// folders behind.
void removeFolder() {
    if (gFolder.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
    gFolder.clear();
}

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
    static const bool atExit = std::atexit(removeFolder) == 0;
    (void)atExit;
    removeFolder();
    char folder[] = "/tmp/morvane-bench-XXXXXX";
    if (!mkdtemp(folder)) return false;
    gFolder = std::string(folder) + "/";
    return setSaveFolder(gFolder.c_str());
}

// The 24 slot files of the save/load screen's grid.
void writeGridSlots() {
    const std::vector<uint8_t> bytes(sizeof(SaveSlotHeader) + kBodyBytes, 0x5A);
    char name[16];
    for (int slot = 0; slot < 24; ++slot) {
        saveSlotFileName(slot, name);
        replaceSaveFile(name, [&bytes](cSaveFile& file) { return file.Write(bytes.data(), bytes.size()); });
    }
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
    writeGridSlots();
    char name[16];
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

// A temporary file written, synced and renamed over the slot file, as the replace does.
void BM_SlotFilePlainWrite(benchmark::State& state) {
    if (!sceneAndFolder()) return state.SkipWithError("no scene");
    std::vector<uint8_t> bytes(sizeof(SaveSlotHeader) + kBodyBytes, 0x5A);
    const std::string temp = gFolder + "savedata.tmp", final = gFolder + "savedata.000";
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool ok = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()) &&
                        fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
        if (!ok || std::rename(temp.c_str(), final.c_str()) != 0) return state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_SlotFilePlainWrite)->Unit(benchmark::kMillisecond);

// 24 headers read through open, read and close.
void BM_SaveScreenPlainReads(benchmark::State& state) {
    if (!sceneAndFolder()) return state.SkipWithError("no scene");
    writeGridSlots();
    char name[16];
    std::vector<uint8_t> header(sizeof(SaveSlotHeader));
    for (auto _ : state)
        for (int slot = 0; slot < 24; ++slot) {
            saveSlotFileName(slot, name);
            const int fd = ::open((gFolder + name).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || ::read(fd, header.data(), header.size()) != ssize_t(header.size()))
                return state.SkipWithError("read failed");
            ::close(fd);
        }
}
BENCHMARK(BM_SaveScreenPlainReads)->Unit(benchmark::kMillisecond);
}  // namespace
