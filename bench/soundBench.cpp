// Ogg Vorbis decoding: the loader's Decode in refills of half a music buffer against a plain
// ov_read loop over the same file, a piece that loops every second, and a voice decoded whole
// against ov_read alone. Loops of one frame, two frames and a second: what playBGM decodes on the
// main thread (open and fill the whole buffer) and one refill of a half on the streaming thread,
// each beside ov_read alone doing the same number of bytes of a piece that does not loop.
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
// 6 s pieces whose loops begin at 40000: one frame, two frames, one second long.
const Bytes& music6s() {
    static const Bytes file = sweepPiece(6.0);
    return file;
}
const Bytes& music6sLoop1Frame() {
    static const Bytes file = sweepPiece(6.0, {{"start", "40000"}, {"end", "40001"}});
    return file;
}
const Bytes& music6sLoop2Frames() {
    static const Bytes file = sweepPiece(6.0, {{"start", "40000"}, {"end", "40002"}});
    return file;
}
const Bytes& music6sLoop1s() {
    static const Bytes file = sweepPiece(6.0, {{"start", "40000"}, {"end", "84100"}});
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

// ov_read alone over a copy of a file image.
class PlainDecoder {
public:
    explicit PlainDecoder(const Bytes& file) {
        m_stream.allocation = std::malloc(file.size());
        m_stream.data = static_cast<uint8_t*>(m_stream.allocation);
        std::memcpy(m_stream.data, file.data(), file.size());
        m_stream.read = m_stream.data;
        m_stream.size = m_stream.left = file.size();
        const ov_callbacks cb = {oggStreamRead, oggStreamSeek, oggStreamClose, oggStreamTell};
        m_open = ov_open_callbacks(&m_stream, &m_file, nullptr, 0, cb) >= 0;
        if (!m_open) std::free(m_stream.allocation);
    }
    PlainDecoder(const PlainDecoder&) = delete;
    PlainDecoder& operator=(const PlainDecoder&) = delete;
    ~PlainDecoder() {
        if (m_open) ov_clear(&m_file);
    }
    bool IsOpen() const { return m_open; }
    // Fills up to `block` bytes; what it filled (less at the end of the stream).
    int64_t Fill(uint8_t* out, int64_t block) {
        int64_t filled = 0;
        while (filled < block) {
            long got = ov_read(&m_file, reinterpret_cast<char*>(out) + filled,
                               static_cast<int>(block - filled), 0, 2, 1, &m_bitstream);
            if (got <= 0) break;
            filled += got;
        }
        return filled;
    }
    void Rewind() { ov_raw_seek(&m_file, 0); }

private:
    cOggStream m_stream;
    OggVorbis_File m_file = {};
    int m_bitstream = 0;
    bool m_open = false;
};

// The same bytes through ov_read alone, into blocks of the given size.
void plainOvRead(benchmark::State& state, const Bytes& file, int64_t total, int64_t block) {
    std::vector<uint8_t> half(block);
    for (auto _ : state) {
        PlainDecoder decoder(file);
        if (!decoder.IsOpen()) {
            state.SkipWithError("open failed");
            break;
        }
        for (int64_t done = 0; done < total;) {
            const int64_t filled = decoder.Fill(half.data(), block);
            if (filled == 0) break;
            done += filled;
        }
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

// playBGM's decoding: open the piece and fill the whole buffer.
void decodeFirstFill(benchmark::State& state, const Bytes& file) {
    std::vector<uint8_t> buffer(kBgmBufferBytes);
    for (auto _ : state) {
        cOggLoader loader;
        if (!loader.OpenMemory(file.data(), file.size())) state.SkipWithError("open failed");
        loader.SetLoop(true);
        loader.Decode(buffer.data(), kBgmBufferBytes);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kBgmBufferBytes);
}
void BM_DecodeFirstFillLoop1Frame(benchmark::State& state) {
    decodeFirstFill(state, music6sLoop1Frame());
}
void BM_DecodeFirstFillLoop2Frames(benchmark::State& state) {
    decodeFirstFill(state, music6sLoop2Frames());
}
void BM_DecodeFirstFillLoop1s(benchmark::State& state) { decodeFirstFill(state, music6sLoop1s()); }
void BM_PlainOvReadFirstFill(benchmark::State& state) {
    plainOvRead(state, music6s(), kBgmBufferBytes, kBgmBufferBytes);
}

// One refill of a half, after playBGM's fill (the piece is inside its loop).
void decodeHalf(benchmark::State& state, const Bytes& file) {
    std::vector<uint8_t> buffer(kBgmBufferBytes);
    cOggLoader loader;
    if (!loader.OpenMemory(file.data(), file.size())) state.SkipWithError("open failed");
    loader.SetLoop(true);
    loader.Decode(buffer.data(), kBgmBufferBytes);
    for (auto _ : state) {
        loader.Decode(buffer.data(), kRefillBytes);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kRefillBytes);
}
void BM_DecodeHalfLoop1Frame(benchmark::State& state) { decodeHalf(state, music6sLoop1Frame()); }
void BM_DecodeHalfLoop2Frames(benchmark::State& state) { decodeHalf(state, music6sLoop2Frames()); }
void BM_DecodeHalfLoop1s(benchmark::State& state) { decodeHalf(state, music6sLoop1s()); }
// A half of a piece that does not loop through an open decoder, from its start again when it ends.
void BM_PlainOvReadHalf(benchmark::State& state) {
    std::vector<uint8_t> half(kRefillBytes);
    PlainDecoder decoder(music6s());
    if (!decoder.IsOpen()) state.SkipWithError("open failed");
    for (auto _ : state) {
        if (decoder.Fill(half.data(), kRefillBytes) < kRefillBytes) decoder.Rewind();
        benchmark::DoNotOptimize(half.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kRefillBytes);
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
BENCHMARK(BM_PlainOvReadFirstFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFirstFillLoop1Frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFirstFillLoop2Frames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeFirstFillLoop1s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOvReadHalf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeHalfLoop1Frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeHalfLoop2Frames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeHalfLoop1s)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeVoice10sWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOvReadVoice10s)->Unit(benchmark::kMillisecond);
