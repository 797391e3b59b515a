// Ogg Vorbis decoding: the loader's Decode in refills of half a music buffer against a plain
// ov_read loop over the same file, a piece that loops every second, and a voice decoded whole
// against ov_read alone.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "media/oggLoader.h"
#include "media/sound.h"
#include "oggFixture.h"

namespace {

const Bytes& music60s() {
    static const Bytes file = sweepPiece(60.0);
    return file;
}
const Bytes& music60sLoop1s() {
    static const Bytes file = sweepPiece(60.0, {{"start", "441000"}, {"end", "485100"}});
    return file;
}
const Bytes& voice10s() {
    static const Bytes file = encodeOgg(sineFrames(1, 44100, 441000, 330.0), 1, 44100);
    return file;
}

constexpr int64_t kRefillBytes = kBgmHalfBytes;
constexpr int64_t kMusicBytes = 60LL * 44100 * 4;

void decodeRefills(benchmark::State& state, const Bytes& file, bool loop) {
    std::vector<uint8_t> half(kRefillBytes);
    for (auto _ : state) {
        cOggLoader loader;
        if (!loader.OpenMemory(file.data(), file.size())) state.SkipWithError("open failed");
        loader.SetLoop(loop);
        for (int64_t done = 0; done < kMusicBytes; done += kRefillBytes)
            loader.Decode(half.data(), kRefillBytes);
        benchmark::DoNotOptimize(half.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kMusicBytes);
}

void BM_DecodeRefills60s(benchmark::State& state) { decodeRefills(state, music60s(), false); }
void BM_DecodeRefills60sLoop1s(benchmark::State& state) {
    decodeRefills(state, music60sLoop1s(), true);
}

// The same bytes through ov_read alone, into blocks of the given size.
void plainOvRead(benchmark::State& state, const Bytes& file, int64_t total, int64_t block) {
    std::vector<uint8_t> half(block);
    for (auto _ : state) {
        cOggStream stream;
        stream.allocation = std::malloc(file.size());
        stream.data = static_cast<uint8_t*>(stream.allocation);
        std::memcpy(stream.data, file.data(), file.size());
        stream.read = stream.data;
        stream.size = stream.left = file.size();
        OggVorbis_File vf;
        const ov_callbacks cb = {oggStreamRead, oggStreamSeek, oggStreamClose, oggStreamTell};
        if (ov_open_callbacks(&stream, &vf, nullptr, 0, cb) < 0) {
            state.SkipWithError("open failed");
            std::free(stream.allocation);
            break;
        }
        int bitstream = 0;
        for (int64_t done = 0; done < total;) {
            int64_t filled = 0;
            while (filled < block) {
                long got = ov_read(&vf, reinterpret_cast<char*>(half.data()) + filled,
                                   static_cast<int>(block - filled), 0, 2, 1, &bitstream);
                if (got <= 0) break;
                filled += got;
            }
            if (filled == 0) break;
            done += filled;
        }
        ov_clear(&vf);
        benchmark::DoNotOptimize(half.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * total);
}
void BM_PlainOvRead60s(benchmark::State& state) {
    plainOvRead(state, music60s(), kMusicBytes, kRefillBytes);
}
// The voice through ov_read alone, into one buffer of the whole sound.
void BM_PlainOvReadVoice10s(benchmark::State& state) {
    plainOvRead(state, voice10s(), 441000 * 2, 441000 * 2);
}

void BM_DecodeVoice10sWhole(benchmark::State& state) {
    const Bytes& file = voice10s();
    std::vector<uint8_t> pcm(441000 * 2);
    for (auto _ : state) {
        cOggLoader loader;
        if (!loader.OpenMemory(file.data(), file.size())) state.SkipWithError("open failed");
        loader.Decode(pcm.data(), loader.TotalFrames() * loader.Channels() * 2);
        benchmark::DoNotOptimize(pcm.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pcm.size()));
}

}  // namespace

BENCHMARK(BM_PlainOvRead60s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeRefills60s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeRefills60sLoop1s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeVoice10sWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOvReadVoice10s)->Unit(benchmark::kMillisecond);
