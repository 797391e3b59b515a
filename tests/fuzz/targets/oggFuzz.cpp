// Ogg Vorbis sound files: an input is a file image, opened from memory and decoded in a few
// buffers, looping or not as its size's lowest bit says. The format and the loop points read
// from its comments are checked against the stream, every decoded buffer is filled whole, and
// however short its loop, a buffer costs a bounded number of seeks back to the loop start.
#include <vector>

#include "media/oggLoader.h"
#include "fuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cOggLoader loader;
    if (!loader.OpenMemory(data, size)) {
        FUZZ_CHECK(!loader.IsOpen());
        uint8_t silence[8] = {1, 1, 1, 1, 1, 1, 1, 1};
        FUZZ_CHECK(!loader.Decode(silence, sizeof silence));
        return 0;
    }
    FUZZ_CHECK(loader.IsOpen());
    FUZZ_CHECK(loader.Channels() >= 1 && loader.Rate() >= 1);
    const int64_t frames = loader.TotalFrames();
    FUZZ_CHECK(frames >= 0);
    // A loop point lies inside the stream or is not set.
    for (int32_t point : {loader.LoopStart(), loader.LoopEnd()})
        FUZZ_CHECK(point == 0 || (point > 0 && point < frames));
    loader.SetLoop(size & 1);
    const int64_t frameBytes = 2 * int64_t(loader.Channels());
    std::vector<uint8_t> buffer(size_t(frameBytes) * 1024 + 2);
    for (int i = 0; i < 6; ++i) {
        const int64_t n = frameBytes * (1 + (i * 397) % 1024);
        buffer[size_t(n)] = 0xA5;
        const int64_t seeks = loader.LoopSeeks();
        loader.Decode(buffer.data(), n);
        FUZZ_CHECK(buffer[size_t(n)] == 0xA5);
        // A pass longer than the loader keeps seeks once; a shorter one once, then repeats.
        FUZZ_CHECK(loader.LoopSeeks() - seeks <= 2 + n / cOggLoader::kLoopPassBytes);
        // A damaged stream may have no position (the decoder's error, -1): only it must not crash.
        loader.Position();
    }
    loader.Reset();
    FUZZ_CHECK(!loader.IsOpen() && loader.LoopStart() == 0 && loader.LoopEnd() == 0);
    return 0;
}
