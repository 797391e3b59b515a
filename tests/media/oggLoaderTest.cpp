// The decoder over memory: the callbacks' bounds, the loop tags, and Decode against one linear
// decode of the same file cut at the loop frames; broken files fail quietly and never hang.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "media/oggLoader.h"
#include "oggFixture.h"
#include "testing.h"

namespace {

constexpr int64_t kRate = 44100;

// The bytes a looping decode of `calls` calls of `callBytes` gives: the piece to its loop end,
// then from its loop start as often as needed (frames of frameBytes bytes).
Bytes loopedReference(const Bytes& linear, int64_t frameBytes, int64_t start, int64_t end,
                      int64_t total) {
    Bytes out(linear.begin(), linear.begin() + end * frameBytes);
    while (static_cast<int64_t>(out.size()) < total)
        out.insert(out.end(), linear.begin() + start * frameBytes,
                   linear.begin() + end * frameBytes);
    out.resize(static_cast<size_t>(total));
    return out;
}

// The frame a looping decode stands at after `consumed` frames.
int64_t loopPosition(int64_t consumed, int64_t start, int64_t end) {
    if (consumed <= end) return consumed;
    return start + (consumed - end - 1) % (end - start) + 1;
}

TEST(OggStream, ReadCopiesWhatIsLeftInWholeElements) {
    uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    cOggStream s;
    s.data = data;
    s.read = data;
    s.size = s.left = 10;
    uint8_t out[16] = {};
    EXPECT_EQ(3u, oggStreamRead(out, 2, 3, &s));  // 6 bytes
    EXPECT_EQ(5, out[5]);
    EXPECT_EQ(1u, oggStreamRead(out, 3, 5, &s));  // 4 left: one whole element of 3
    EXPECT_EQ(0u, s.left);
    EXPECT_EQ(0u, oggStreamRead(out, 1, 4, &s));
    EXPECT_EQ(0u, oggStreamRead(out, 0, 4, &s));
    EXPECT_EQ(10, oggStreamTell(&s));
    cOggStream empty;
    EXPECT_EQ(0u, oggStreamRead(out, 1, 4, &empty));
}

TEST(OggStream, SeekBounds) {
    uint8_t data[10] = {};
    struct Case {
        long from;  // consumed before the seek
        ogg_int64_t offset;
        int origin;
        int result;
        long tell;  // after the seek
    };
    const Case cases[] = {
        {4, 0, SEEK_SET, 0, 0},   {4, 10, SEEK_SET, 0, 10},  {4, 11, SEEK_SET, -1, 4},
        {4, -1, SEEK_SET, -1, 4}, {4, -4, SEEK_CUR, 0, 0},   {4, -5, SEEK_CUR, -1, 4},
        {4, 6, SEEK_CUR, 0, 10},  {4, 7, SEEK_CUR, -1, 4},   {4, 0, SEEK_END, 0, 10},
        {4, -10, SEEK_END, 0, 0}, {4, -11, SEEK_END, -1, 4}, {4, 1, SEEK_END, -1, 4},
        {4, 0, 7, -1, 4},         {4, 0, -1, -1, 4},
    };
    for (const Case& c : cases) {
        cOggStream s;
        s.data = data;
        s.size = 10;
        s.read = data + c.from;
        s.left = static_cast<size_t>(10 - c.from);
        SCOPED_TRACE(testing::Message() << c.offset << " origin " << c.origin);
        EXPECT_EQ(c.result, oggStreamSeek(&s, c.offset, c.origin));
        EXPECT_EQ(c.tell, oggStreamTell(&s));
        EXPECT_EQ(static_cast<size_t>(10 - c.tell), s.left);
    }
}

TEST(OggStream, LoopTagValues) {
    const int64_t frames = 1000;
    struct Case {
        const char* text;
        int32_t frame;
    };
    const Case cases[] = {
        {"500", 500},
        {"  42", 42},
        {"+7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-5", 0},
        {"998", 998},
        {"999", 0},
        {"1000", 0},
        {"2147483647", 0},
        {"4294967296", 0},
        {"99999999999999999999", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.frame, loopTagFrame(c.text, frames)) << c.text;
    EXPECT_EQ(2147483646, loopTagFrame("2147483646", int64_t(1) << 40));
    EXPECT_EQ(0, loopTagFrame("2147483648", int64_t(1) << 40));
    EXPECT_EQ(0, loopTagFrame(nullptr, frames));
}

struct LoopCase {
    const char* name;
    Comments comments;
    bool loop;
    int64_t start;  // expected loop start and end in frames (end -1: the piece's end)
    int64_t end;
    int64_t frames = 0;  // a piece of that many frames; 0: a 2 s sweep
};

Bytes pieceOf(const LoopCase& c) {
    if (!c.frames) return sweepPiece(2.0, c.comments);
    return encodeOgg(sineFrames(2, kRate, c.frames, 440.0), 2, kRate, c.comments);
}

// What `size` bytes of decoding give: looping, the piece to its loop end and then its loop over
// and over; not looping, the piece to its loop end and silence.
Bytes expectedBytes(const LoopCase& c, const Bytes& linear, int64_t end, size_t size) {
    if (c.loop) return loopedReference(linear, 4, c.start, end, static_cast<int64_t>(size));
    Bytes expected(linear.begin(), linear.begin() + end * 4);
    expected.resize(size, 0);
    return expected;
}

std::string caseName(const testing::TestParamInfo<LoopCase>& info) { return info.param.name; }

class DecodeLoops : public testing::TestWithParam<LoopCase> {};

// A 2 s piece decoded in calls of 0.3 s: the bytes are the linear decode cut at the loop frames,
// the position after each call follows the loop arithmetic.
TEST_P(DecodeLoops, BytesAndPositionsFollowTheLoop) {
    const LoopCase& c = GetParam();
    const Bytes file = pieceOf(c);
    const Bytes linear = linearDecode(file);
    const int64_t total = static_cast<int64_t>(linear.size()) / 4;
    ASSERT_EQ(2 * kRate, total);
    const int64_t end = c.end < 0 ? total : c.end;

    cOggLoader loader;
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    EXPECT_EQ(2, loader.Channels());
    EXPECT_EQ(kRate, loader.Rate());
    EXPECT_EQ(total, loader.TotalFrames());
    EXPECT_EQ(c.start, loader.LoopStart());
    EXPECT_EQ(c.end < 0 ? 0 : c.end, loader.LoopEnd());
    loader.SetLoop(c.loop);

    const int64_t callBytes = 13230 * 4;  // 0.3 s
    const int calls = 25;                 // 7.5 s: several passes
    Bytes got;
    for (int i = 0; i < calls; ++i) {
        Bytes chunk(static_cast<size_t>(callBytes), 0xAA);
        const int64_t consumedBefore = static_cast<int64_t>(got.size()) / 4;
        const bool ok = loader.Decode(chunk.data(), callBytes);
        got.insert(got.end(), chunk.begin(), chunk.end());
        const int64_t consumed = consumedBefore + callBytes / 4;
        if (c.loop) {
            EXPECT_TRUE(ok) << "call " << i;
            EXPECT_EQ(loopPosition(consumed, c.start, end), loader.Position()) << "call " << i;
        } else {
            // Without the loop the piece ends at its loop end too.
            EXPECT_EQ(consumed <= end, ok) << "call " << i;
            EXPECT_EQ(std::min(consumed, end), loader.Position()) << "call " << i;
        }
    }
    // A loop whose pass is kept seeks back once; a longer one once a pass.
    const int64_t consumed = static_cast<int64_t>(got.size()) / 4;
    const int64_t loopFrames = end - c.start;
    const int64_t passesBack = consumed > end ? (consumed - end + loopFrames - 1) / loopFrames : 0;
    const bool kept = loopFrames * 4 <= cOggLoader::kLoopPassBytes;
    EXPECT_EQ(c.loop ? (kept ? std::min<int64_t>(passesBack, 1) : passesBack) : 0,
              loader.LoopSeeks());
    const Bytes expected = expectedBytes(c, linear, end, got.size());
    ASSERT_EQ(expected.size(), got.size());
    EXPECT_TRUE(expected == got);
}

const LoopCase kLoopCases[] = {
    {"StartAndEnd", {{"start", "30000"}, {"end", "70000"}}, true, 30000, 70000},
    {"StartOnly", {{"start", "50000"}}, true, 50000, -1},
    {"EndOnly", {{"END", "60000"}}, true, 0, 60000},
    {"NoTags", {}, true, 0, -1},
    {"NoLoop", {{"start", "30000"}, {"end", "70000"}}, false, 30000, 70000},
    {"EndNotAfterStart", {{"start", "60000"}, {"end", "60000"}}, true, 60000, -1},
    {"EndBeforeStart", {{"start", "60000"}, {"end", "10000"}}, true, 60000, -1},
    {"NegativeTags", {{"start", "-100"}, {"end", "-5"}}, true, 0, -1},
    {"HugeTags", {{"start", "4294967296"}, {"end", "99999999999"}}, true, 0, -1},
    {"TagsAtTheLastFrame", {{"start", "88199"}, {"end", "88200"}}, true, 0, -1},
    {"ShortLoop", {{"start", "40000"}, {"end", "44410"}}, true, 40000, 44410},  // 0.1 s
    {"FirstValueCounts", {{"start", "1000"}, {"start", "2000"}}, true, 1000, -1},
};
INSTANTIATE_TEST_SUITE_P(Tags, DecodeLoops, testing::ValuesIn(kLoopCases), caseName);

class ShortLoops : public testing::TestWithParam<LoopCase> {};

// A loop of a frame or two, whatever its tags, in the calls of playBGM's first fill and a refill:
// the bytes are the piece to its loop end and then the loop's frames over and over, and the
// loader seeks back to the loop start once at most (not once a frame).
TEST_P(ShortLoops, RepeatFromMemory) {
    const LoopCase& c = GetParam();
    const Bytes file = pieceOf(c);
    const Bytes linear = linearDecode(file);
    const int64_t total = static_cast<int64_t>(linear.size()) / 4;
    ASSERT_EQ(c.frames ? c.frames : 2 * kRate, total);
    const int64_t end = c.end < 0 ? total : c.end;

    cOggLoader loader;
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    EXPECT_EQ(c.start, loader.LoopStart());
    EXPECT_EQ(c.end < 0 ? 0 : c.end, loader.LoopEnd());
    loader.SetLoop(c.loop);
    Bytes got;
    for (int64_t bytes : {int64_t(2 * 441000), int64_t(441000), int64_t(441000)}) {
        Bytes chunk(static_cast<size_t>(bytes), 0xAA);
        const bool ok = loader.Decode(chunk.data(), bytes);
        got.insert(got.end(), chunk.begin(), chunk.end());
        const int64_t consumed = static_cast<int64_t>(got.size()) / 4;
        ASSERT_LE(loader.LoopSeeks(), 1) << "after " << consumed << " frames";
        EXPECT_EQ(c.loop, ok);
        EXPECT_EQ(c.loop ? loopPosition(consumed, c.start, end) : end, loader.Position());
    }
    const Bytes expected = expectedBytes(c, linear, end, got.size());
    EXPECT_TRUE(expected == got);
}

const LoopCase kShortLoopCases[] = {
    {"OneFrame", {{"start", "40000"}, {"end", "40001"}}, true, 40000, 40001},
    {"TwoFrames", {{"start", "40000"}, {"end", "40002"}}, true, 40000, 40002},
    {"OneFrameNotLooping", {{"start", "40000"}, {"end", "40001"}}, false, 40000, 40001},
    {"FirstFrame", {{"end", "1"}}, true, 0, 1},
    {"OneFrameBeforeTheLast", {{"start", "88197"}, {"end", "88198"}}, true, 88197, 88198},
    {"LastTwoFrames", {{"start", "88198"}}, true, 88198, -1},
    {"EndBeyondThePiece", {{"start", "88198"}, {"end", "99999999"}}, true, 88198, -1},
    {"StartAfterEnd", {{"start", "88198"}, {"end", "5"}}, true, 88198, -1},
    {"StartBeyondThePiece", {{"start", "99999999"}, {"end", "1"}}, true, 0, 1},
    {"OneFramePiece", {}, true, 0, -1, 1},
    {"ThreeFramePieceFromItsSecond", {{"start", "1"}}, true, 1, -1, 3},
};
INSTANTIATE_TEST_SUITE_P(Tags, ShortLoops, testing::ValuesIn(kShortLoopCases), caseName);

TEST(Decode, MonoAt22050) {
    const Bytes file = encodeOgg(sineFrames(1, 22050, 22050, 440.0), 1, 22050,
                                 {{"start", "5000"}, {"end", "15000"}});
    const Bytes linear = linearDecode(file);
    ASSERT_EQ(22050u * 2, linear.size());
    cOggLoader loader;
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    EXPECT_EQ(1, loader.Channels());
    EXPECT_EQ(22050, loader.Rate());
    loader.SetLoop(true);
    Bytes got(60000);
    EXPECT_TRUE(loader.Decode(got.data(), static_cast<int64_t>(got.size())));
    EXPECT_TRUE(loopedReference(linear, 2, 5000, 15000, 60000) == got);
    EXPECT_EQ(loopPosition(30000, 5000, 15000), loader.Position());
}

// One call far longer than the loop: it goes round as often as the buffer needs (a loop shorter
// than a half must not leave silence).
TEST(Decode, ManyPassesInOneCall) {
    const Bytes file = sweepPiece(1.0, {{"start", "10000"}, {"end", "12205"}});  // 0.05 s loop
    const Bytes linear = linearDecode(file);
    cOggLoader loader;
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    loader.SetLoop(true);
    Bytes got(441000);
    EXPECT_TRUE(loader.Decode(got.data(), static_cast<int64_t>(got.size())));
    EXPECT_TRUE(loopedReference(linear, 4, 10000, 12205, 441000) == got);
}

TEST(Decode, NothingOpenOrNoBuffer) {
    cOggLoader loader;
    Bytes out(64, 0xAA);
    EXPECT_FALSE(loader.Decode(out.data(), 64));
    EXPECT_EQ(Bytes(64, 0), out);
    EXPECT_FALSE(loader.Decode(nullptr, 64));
    out.assign(64, 0xAA);
    EXPECT_FALSE(loader.Decode(out.data(), 0));
    EXPECT_EQ(0xAA, out[0]);
}

TEST(Open, BrokenFilesFailQuietly) {
    const Bytes good = sweepPiece(0.5);
    const Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Bytes headerOnly(good.begin(), good.begin() + 200);
    Bytes noise(4000);
    std::mt19937 rng(7);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(rng());
    cOggLoader loader;
    EXPECT_FALSE(loader.OpenMemory(good.data(), 0));
    EXPECT_FALSE(loader.OpenMemory(nullptr, 10));
    EXPECT_FALSE(loader.OpenMemory(png.data(), png.size()));
    EXPECT_FALSE(loader.OpenMemory(noise.data(), noise.size()));
    EXPECT_FALSE(loader.OpenMemory(headerOnly.data(), headerOnly.size()));
    EXPECT_FALSE(loader.IsOpen());
    Bytes out(100, 0xAA);
    EXPECT_FALSE(loader.Decode(out.data(), 100));
    EXPECT_EQ(Bytes(100, 0), out);
}

// Decodes a damaged file looping, a bounded number of calls; every call ends.
int decodeDamaged(const Bytes& file, bool loop) {
    cOggLoader loader;
    if (!loader.OpenMemory(file.data(), file.size())) return -1;
    loader.SetLoop(loop);
    Bytes out(44100);
    int succeeded = 0;
    for (int i = 0; i < 12; ++i) succeeded += loader.Decode(out.data(), 44100) ? 1 : 0;
    return succeeded;
}

TEST(Decode, TruncatedFileLoopsOverWhatIsThere) {
    // The first 4 KB or so are the headers: cut into the sound.
    const Bytes good = sweepPiece(3.0);
    const Bytes cut(good.begin(), good.begin() + good.size() * 3 / 5);
    EXPECT_EQ(12, decodeDamaged(cut, true));
    EXPECT_LT(decodeDamaged(cut, false), 12);
}

TEST(Decode, CorruptPageDoesNotHang) {
    Bytes file = sweepPiece(3.0, {{"start", "1000"}});
    // Overwrite a stretch of the sound: a page whose checksum fails and a gap in the data.
    const size_t from = file.size() * 3 / 5;
    for (size_t i = from; i < from + 300; ++i) file[i] ^= 0x5A;
    EXPECT_EQ(12, decodeDamaged(file, true));
    EXPECT_GE(decodeDamaged(file, false), 0);
}

TEST(Decode, FuzzedFilesNeverCrashOrHang) {
    const Bytes good = sweepPiece(2.0, {{"start", "2000"}, {"end", "60000"}});
    int opened = 0;
    for (uint32_t seed = 1; seed <= 80; ++seed) {
        std::mt19937 rng(seed);
        Bytes file = good;
        // Odd seeds damage the whole file, even ones only the sound after the headers.
        const size_t from = seed % 2 ? 0 : good.size() / 2;
        const int flips = 1 + static_cast<int>(rng() % 24);
        for (int i = 0; i < flips; ++i)
            file[from + rng() % (file.size() - from)] = static_cast<uint8_t>(rng());
        if (seed % 5 == 0) file.resize(from + rng() % (file.size() - from));
        SCOPED_TRACE(seed);
        opened += decodeDamaged(file, seed % 3 != 0) >= 0 ? 1 : 0;
    }
    EXPECT_GT(opened, 30);  // the damage reached the decoder, not only the open
}

TEST(Loader, ResetForgetsEverything) {
    const Bytes file = sweepPiece(0.5, {{"start", "100"}, {"end", "9000"}});
    cOggLoader loader;
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    loader.SetLoop(true);
    loader.Reset();
    EXPECT_FALSE(loader.IsOpen());
    EXPECT_EQ(0, loader.LoopStart());
    EXPECT_EQ(0, loader.LoopEnd());
    EXPECT_EQ(0, loader.Channels());
    // Open again after a reset and after a failed open.
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    EXPECT_FALSE(loader.OpenMemory(file.data(), 50));
    ASSERT_TRUE(loader.OpenMemory(file.data(), file.size()));
    EXPECT_EQ(9000, loader.LoopEnd());
}

}  // namespace
