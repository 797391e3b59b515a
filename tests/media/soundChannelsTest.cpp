// The channels over a fake platform and a test clock: which half the music refills for a play
// cursor, silence once stopping, the fade, the rules of names, switches and restarts, the
// "Data_Sound" bytes.
#include <cstring>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "fakeSoundPlatform.h"
#include "files/saveStream.h"
#include "media/oggLoader.h"
#include "media/sound.h"
#include "media/volume.h"
#include "testing.h"

namespace {

uint32_t gNow = 0;
uint32_t testClock() { return gNow; }

// Pieces shared by the tests (encoding is the slow part).
const Bytes& longPiece() {  // 8 s, loops at its end
    static const Bytes piece = sweepPiece(8.0);
    return piece;
}
const Bytes& taggedPiece() {  // 3 s, loop 1 s .. 2.5 s
    static const Bytes piece = sweepPiece(3.0, {{"start", "44100"}, {"end", "110250"}});
    return piece;
}
const Bytes& shortPiece() {  // 1 s
    static const Bytes piece = sweepPiece(1.0);
    return piece;
}

// What the music buffer should hold: the piece decoded from its start by a loader of its own.
class Reference {
public:
    Reference(const Bytes& file, bool loop) {
        m_loader.OpenMemory(file.data(), file.size());
        m_loader.SetLoop(loop);
    }
    Bytes Next(size_t n) {
        Bytes out(n);
        m_loader.Decode(out.data(), static_cast<int64_t>(n));
        return out;
    }

private:
    cOggLoader m_loader;
};

Bytes slice(const Bytes& b, size_t from, size_t n) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

class SoundChannels : public testing::Test {
protected:
    void SetUp() override {
        resetEngineState();
        setClockSource(testClock);
        gNow = 1000;
        fake.file("bgm", "theme.ogg", longPiece());
        fake.file("bgm", "tagged.ogg", taggedPiece());
        fake.file("bgm", "short.ogg", shortPiece());
        fake.file("env", "rain.ogg", shortPiece());
        fake.file("se", "click.ogg", shortPiece());
        fake.file("voice", "v001.ogg", shortPiece());
        applySoundVolumes();  // the defaults: every channel on at 50
    }
    void TearDown() override {
        resetEngineState();
        setClockSource(nullptr);
    }
    // The play cursor moves to `cursor` and the streaming thread takes one step.
    void step(uint32_t cursor) {
        fake.bgm()->cursor = cursor;
        refillBGMStream();
    }
    FakeSound fake;
};

TEST(Volume, ToDb) {
    struct Case {
        int32_t volume, maximum, db;
    };
    const Case cases[] = {
        {0, 100, -10000},  {1, 100, -4000},  {10, 100, -2000}, {50, 100, -602},
        {100, 100, 0},     {50, 0, 0},       {50, -3, 0},      {150, 100, 0},
        {-5, 100, -10000}, {25, 100, -1204}, {99, 100, -8},    {1, 1000000, -10000},
        {3, 7, -735},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.db, volumeToDb(c.volume, c.maximum)) << c.volume << "/" << c.maximum;
}

TEST_F(SoundChannels, MusicFillsItsWholeBufferFirst) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    FakeBuffer* b = fake.bgm();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(kBgmBufferBytes, b->bytes);
    EXPECT_EQ(2, b->format.channels);
    EXPECT_EQ(44100, b->format.rate);
    EXPECT_EQ(0u, b->position);
    ASSERT_EQ(1u, b->locks.size());
    EXPECT_EQ(std::make_pair(0u, kBgmBufferBytes), b->locks[0]);
    Reference ref(longPiece(), true);
    EXPECT_TRUE(ref.Next(kBgmBufferBytes) == b->memory);
    EXPECT_TRUE(b->playing);
    EXPECT_TRUE(b->looping);
    EXPECT_EQ(-602, b->volume);
    EXPECT_TRUE(bgmStreamRunning());
    EXPECT_EQ(1, fake.threadsStarted);
    EXPECT_TRUE(isBGMPlaying());
}

TEST_F(SoundChannels, RefillTakesTheHalfNotPlaying) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    Reference ref(longPiece(), true);
    ref.Next(kBgmBufferBytes);
    // cursor -> offset of the half filled (-1: nothing filled)
    const std::pair<uint32_t, int64_t> steps[] = {
        {0, -1},      {200000, -1},     {440999, -1}, {441000, 0}, {600000, -1},
        {881999, -1}, {0, 441000},      {10, -1},     {441000, 0}, {100, 441000},
        {500000, 0},  {440000, 441000}, {440000, -1},
    };
    FakeBuffer* b = fake.bgm();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.first);
        const size_t before = b->locks.size();
        step(s.first);
        if (s.second < 0) {
            EXPECT_EQ(before, b->locks.size());
            continue;
        }
        ASSERT_EQ(before + 1, b->locks.size());
        EXPECT_EQ(std::make_pair(static_cast<uint32_t>(s.second), kBgmHalfBytes), b->locks.back());
        EXPECT_TRUE(ref.Next(kBgmHalfBytes) ==
                    slice(b->memory, static_cast<size_t>(s.second), kBgmHalfBytes));
    }
}

TEST_F(SoundChannels, ACursorThatCannotBeReadFillsNothing) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    FakeBuffer* b = fake.bgm();
    b->cursorFails = true;
    step(441000);
    EXPECT_EQ(1u, b->locks.size());
    b->cursorFails = false;
    step(441000);
    EXPECT_EQ(2u, b->locks.size());
}

TEST_F(SoundChannels, AFailedLockWaitsForTheNextCrossing) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    Reference ref(longPiece(), true);
    ref.Next(kBgmBufferBytes);
    FakeBuffer* b = fake.bgm();
    b->lockFails = true;
    step(441000);
    ASSERT_EQ(2u, b->locks.size());  // tried once
    b->lockFails = false;
    step(500000);
    EXPECT_EQ(2u, b->locks.size());  // the same half: no second try
    step(0);
    ASSERT_EQ(3u, b->locks.size());
    EXPECT_EQ(kBgmHalfBytes, b->locks.back().first);
    // The decoder went on where it stood: nothing was lost from the piece.
    EXPECT_TRUE(ref.Next(kBgmHalfBytes) == slice(b->memory, kBgmHalfBytes, kBgmHalfBytes));
}

TEST_F(SoundChannels, LoopingPieceGoesRoundItsTagsAcrossHalves) {
    ASSERT_TRUE(playBGM("tagged.ogg", true));
    Reference ref(taggedPiece(), true);
    Bytes heard = ref.Next(kBgmBufferBytes);
    EXPECT_TRUE(heard == fake.bgm()->memory);
    for (int i = 0; i < 6; ++i) {
        const uint32_t cursor = i % 2 == 0 ? kBgmHalfBytes : 0;
        step(cursor);
        const size_t filled = i % 2 == 0 ? 0 : kBgmHalfBytes;
        EXPECT_TRUE(ref.Next(kBgmHalfBytes) == slice(fake.bgm()->memory, filled, kBgmHalfBytes));
    }
}

TEST_F(SoundChannels, OnceStoppingTheLastFillIsSilence) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    FakeBuffer* b = fake.bgm();
    Bytes lastFill;
    fake.onJoin = [&] {
        // The thread's last pass, after the running flag fell.
        EXPECT_FALSE(bgmStreamRunning());
        b->cursor = kBgmHalfBytes;
        refillBGMStream();
        lastFill = slice(b->memory, 0, kBgmHalfBytes);
    };
    stopBGM(false);
    EXPECT_EQ(Bytes(kBgmHalfBytes, 0), lastFill);
    EXPECT_EQ(nullptr, fake.bgm());
}

TEST_F(SoundChannels, FadeFallsTenDecibelsASecondAcrossAClockWrap) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    FakeBuffer* b = fake.bgm();
    const uint32_t start = 0xFFFFFFFFu - 300;
    gNow = start;
    fadeOutBGM();
    EXPECT_STREQ("", getBgmName());
    EXPECT_FALSE(isBGMPlaying());
    const std::pair<uint32_t, int32_t> levels[] = {
        {0, -602}, {1000, -1602}, {5000, -5602}, {9398, -10000}};
    for (const auto& l : levels) {
        gNow = start + l.first;
        step(0);
        EXPECT_EQ(l.second, b->volume) << l.first;
        EXPECT_TRUE(b->playing) << l.first;
    }
    gNow = start + 9399;
    step(0);
    EXPECT_FALSE(b->playing);
    EXPECT_EQ(b, fake.bgm());  // stopped, not released: the thread goes on
    EXPECT_TRUE(bgmStreamRunning());
    EXPECT_EQ(-10000, b->volume);
}

TEST_F(SoundChannels, FadeFromAnotherVolume) {
    setBGMVolume(1, 100);
    ASSERT_TRUE(playBGM("theme.ogg", true));
    fadeOutBGM();
    gNow += 2500;
    step(0);
    EXPECT_EQ(-2500, fake.bgm()->volume);
}

TEST_F(SoundChannels, TheSamePieceInAnyCaseGoesOn) {
    ASSERT_TRUE(playBGM("Theme.ogg", true));
    FakeBuffer* b = fake.bgm();
    EXPECT_TRUE(playBGM("THEME.OGG", false));
    EXPECT_EQ(b, fake.bgm());
    EXPECT_EQ(1, fake.created);
    EXPECT_STREQ("Theme.ogg", getBgmName());
    EXPECT_TRUE(getLoopBGM());
    // Another piece replaces it, joining the thread first.
    ASSERT_TRUE(playBGM("tagged.ogg", true));
    EXPECT_EQ(1, fake.joins);
    EXPECT_EQ(2, fake.created);
    EXPECT_EQ(1u, fake.alive.size());
}

TEST_F(SoundChannels, NamesFoldLettersOnlyInSingleByteCharacters) {
#ifdef MORVANE_EARLIER
    const bool shiftJis = true;
#else
    const bool shiftJis = false;
#endif
    struct Case {
        const char* playing;
        const char* next;
        bool same;
    } cases[] = {
        {"\x89\x4A.ogg", "\x89\x4A.OGG", true},
        {"\x89\x4A.ogg", "\x89\x6A.ogg", false},  // Shift-JIS 雨, 泳 (two kanji in GBK too)
        {"\x83\x41.ogg", "\x83\x61.ogg", false},  // Shift-JIS ア, ヂ
        // GBK 癆, 癮; in Shift-JIS a half-width katakana and the letter A or a.
        {"\xB0\x41.ogg", "\xB0\x61.ogg", shiftJis},
    };
    for (const Case& c : cases) {
        // The test platform finds files with every byte folded: one entry serves both names.
        fake.file("bgm", c.playing, shortPiece());
        fake.file("env", c.playing, shortPiece());
        ASSERT_TRUE(playBGM(c.playing, true));
        ASSERT_TRUE(playEnv(c.playing));
        const int created = fake.created;
        EXPECT_TRUE(playBGM(c.next, true));
        EXPECT_TRUE(playEnv(c.next));
        EXPECT_EQ(c.same ? created : created + 2, fake.created) << c.playing << " / " << c.next;
        EXPECT_STREQ(c.same ? c.playing : c.next, getBgmName());
        EXPECT_STREQ(c.same ? c.playing : c.next, getEnvName());
        stopBGM(false);
        stopEnv(false);
    }
}

TEST_F(SoundChannels, TheSamePieceWhileFadingStartsAgain) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    fadeOutBGM();
    gNow += 3000;
    step(0);
    ASSERT_TRUE(playBGM("theme.ogg", true));
    EXPECT_EQ(2, fake.created);
    EXPECT_TRUE(isBGMPlaying());
    EXPECT_EQ(-602, fake.bgm()->volume);
    gNow += 3000;
    step(0);
    EXPECT_EQ(-602, fake.bgm()->volume);  // no fade any more
}

TEST_F(SoundChannels, AFinishedPieceThatDoesNotLoopPlaysSilenceUntilStopped) {
    ASSERT_TRUE(playBGM("short.ogg", false));
    FakeBuffer* b = fake.bgm();
    Reference ref(shortPiece(), false);
    EXPECT_TRUE(ref.Next(kBgmBufferBytes) == b->memory);
    EXPECT_EQ(Bytes(kBgmBufferBytes - 44100 * 4, 0),
              slice(b->memory, 44100 * 4, kBgmBufferBytes - 44100 * 4));
    step(kBgmHalfBytes);
    EXPECT_EQ(Bytes(kBgmHalfBytes, 0), slice(b->memory, 0, kBgmHalfBytes));
    EXPECT_TRUE(isBGMPlaying());
    EXPECT_TRUE(playBGM("short.ogg", false));
    EXPECT_EQ(1, fake.created);
}

TEST_F(SoundChannels, MusicSwitchedOffKeepsItsNameAndStartsAgainFromTheStart) {
    setBGMVolume(0, 50);
    EXPECT_TRUE(playBGM("theme.ogg", false));
    EXPECT_EQ(0, fake.created);
    EXPECT_STREQ("theme.ogg", getBgmName());
    EXPECT_FALSE(getLoopBGM());
    EXPECT_FALSE(bgmStreamRunning());
    setBGMVolume(1, 50);
    ASSERT_NE(nullptr, fake.bgm());
    Reference ref(longPiece(), false);
    EXPECT_TRUE(ref.Next(kBgmBufferBytes) == fake.bgm()->memory);
    EXPECT_FALSE(getLoopBGM());

    // Off while it plays, then on again: from frame 0, not where it stood.
    step(kBgmHalfBytes);
    setBGMVolume(0, 50);
    EXPECT_EQ(nullptr, fake.bgm());
    EXPECT_STREQ("theme.ogg", getBgmName());
    setBGMVolume(1, 80);
    Reference again(longPiece(), false);
    EXPECT_TRUE(again.Next(kBgmBufferBytes) == fake.bgm()->memory);
    EXPECT_EQ(volumeToDb(80, 100), fake.bgm()->volume);
}

TEST_F(SoundChannels, AmbientLoopRules) {
    ASSERT_TRUE(playEnv("Rain.ogg"));
    FakeBuffer* b = fake.newest();
    ASSERT_NE(nullptr, b);
    EXPECT_FALSE(b->streaming);
    EXPECT_TRUE(b->looping);
    EXPECT_TRUE(isEnvPlaying());
    EXPECT_EQ(linearDecode(shortPiece()), b->memory);
    EXPECT_TRUE(playEnv("RAIN.OGG"));
    EXPECT_EQ(1, fake.created);
    // Off keeps the name; on plays it again.
    setEnvVolume(0, 50);
    EXPECT_FALSE(isEnvPlaying());
    EXPECT_STREQ("Rain.ogg", getEnvName());
    EXPECT_TRUE(playEnv("rain.ogg"));  // remembered only
    EXPECT_EQ(0u, fake.alive.size());
    setEnvVolume(1, 30);
    ASSERT_TRUE(isEnvPlaying());
    EXPECT_EQ(volumeToDb(30, 100), fake.newest()->volume);
    EXPECT_FALSE(playEnv(""));
    EXPECT_FALSE(isEnvPlaying());
    stopEnv(false);
    EXPECT_STREQ("", getEnvName());
}

TEST_F(SoundChannels, EffectsAndVoicesPlayOnce) {
    ASSERT_TRUE(playSE("click.ogg"));
    FakeBuffer* se = fake.newest();
    EXPECT_FALSE(se->looping);
    EXPECT_EQ(-602, se->volume);
    ASSERT_TRUE(playVoice("v001.ogg"));
    EXPECT_TRUE(isVoicePlaying());
    fake.newest()->playing = false;  // it came to its end
    EXPECT_FALSE(isVoicePlaying());
    ASSERT_TRUE(playSE("click.ogg"));  // a new play replaces the old buffer
    EXPECT_EQ(2u, fake.alive.size());
    stopVoice();
    stopSE();
    EXPECT_EQ(0u, fake.alive.size());
    setSEVolume(0, 50);
    EXPECT_TRUE(playSE("click.ogg"));
    EXPECT_EQ(0u, fake.alive.size());
    setVoiceVolume(0, 50);
    EXPECT_TRUE(playVoice("v001.ogg"));
    EXPECT_FALSE(isVoicePlaying());
}

TEST_F(SoundChannels, MissingOrBrokenFilesStaySilent) {
    fake.file("se", "broken.ogg", Bytes(300, 7));
    EXPECT_FALSE(playSE("missing.ogg"));
    EXPECT_FALSE(playSE("broken.ogg"));
    EXPECT_FALSE(playVoice(""));
    EXPECT_FALSE(playBGM("missing.ogg", true));
    EXPECT_STREQ("missing.ogg", getBgmName());
    EXPECT_FALSE(playBGM("", true));
    EXPECT_EQ(0u, fake.alive.size());
    EXPECT_EQ(0, fake.threadsStarted);
    fake.createFails = true;
    EXPECT_FALSE(playEnv("rain.ogg"));
    EXPECT_FALSE(playBGM("theme.ogg", true));
    EXPECT_FALSE(bgmStreamRunning());
}

TEST_F(SoundChannels, StaticSoundsAreDecodedWhole) {
    cSoundBuffer* slot = nullptr;
    ASSERT_TRUE(loadStaticSound(slot, "se", "click.ogg"));
    FakeBuffer* b = fake.newest();
    EXPECT_EQ(slot, b);
    EXPECT_FALSE(b->streaming);
    EXPECT_EQ(static_cast<uint32_t>(44100 * 4), b->bytes);
    EXPECT_EQ(linearDecode(shortPiece()), b->memory);
    // The next load into the slot releases the old buffer first.
    ASSERT_TRUE(loadStaticSound(slot, "se", "click.ogg"));
    EXPECT_EQ(1u, fake.alive.size());
    // A failed lock leaves the silent buffer in the slot.
    fake.newBuffersFailLock = true;
    EXPECT_FALSE(loadStaticSound(slot, "se", "click.ogg"));
    ASSERT_NE(nullptr, slot);
    EXPECT_EQ(slot, fake.newest());
    EXPECT_EQ(1u, fake.alive.size());
    EXPECT_FALSE(loadStaticSound(slot, "se", "missing.ogg"));
    EXPECT_EQ(nullptr, slot);
    EXPECT_EQ(0u, fake.alive.size());
}

TEST_F(SoundChannels, AThreadThatCannotStartLeavesNothingPlaying) {
    fake.threadFails = true;
    EXPECT_FALSE(playBGM("theme.ogg", true));
    EXPECT_EQ(nullptr, fake.bgm());
    EXPECT_FALSE(bgmStreamRunning());
    EXPECT_EQ(nullptr, bgmStreamThreadHandle());
    EXPECT_FALSE(isBGMPlaying());
    EXPECT_STREQ("theme.ogg", getBgmName());
    fake.threadFails = false;
    EXPECT_TRUE(playBGM("theme.ogg", true));
    EXPECT_TRUE(isBGMPlaying());
}

TEST_F(SoundChannels, StopJoinsTheThreadOnceAndForgetsItsHandle) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    void* thread = bgmStreamThreadHandle();
    ASSERT_NE(nullptr, thread);
    stopBGM(true);
    EXPECT_EQ(1, fake.joins);
    EXPECT_EQ(thread, fake.joined[0]);
    EXPECT_EQ(nullptr, bgmStreamThreadHandle());
    EXPECT_STREQ("theme.ogg", getBgmName());
    stopBGM(false);
    EXPECT_EQ(1, fake.joins);
    EXPECT_STREQ("", getBgmName());
    EXPECT_EQ(0u, fake.alive.size());
}

// The records of a section as the test writes them: u32 name length, name, u32 size, data.
void putRecord(Bytes& out, const std::string& name, const Bytes& data) {
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    u32(static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    u32(static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}
Bytes text(const char* s) { return Bytes(s, s + std::strlen(s) + 1); }

TEST_F(SoundChannels, SaveSectionBytes) {
    ASSERT_TRUE(playEnv("rain.ogg"));
    ASSERT_TRUE(playBGM("theme.ogg", true));
    gVoiceFolder = "ch01";
    cSaveStream out;
    serializeSound(out);
    Bytes expected;
    putRecord(expected, "NameENV", text("rain.ogg"));
    putRecord(expected, "NameBGM", text("theme.ogg"));
    putRecord(expected, "PathVO", text("ch01"));
    putRecord(expected, "LoopBGM", {1});
    EXPECT_EQ(expected, out.Buffer());
    // Writing changes nothing that plays.
    EXPECT_EQ(2, fake.created);
    EXPECT_TRUE(isBGMPlaying());

    stopEnv(false);
    stopBGM(false);
    gVoiceFolder = "";
    cSaveStream empty;
    serializeSound(empty);
    Bytes none;
    putRecord(none, "NameENV", {0});
    putRecord(none, "NameBGM", {0});
    putRecord(none, "PathVO", {0});
    putRecord(none, "LoopBGM", {1});
    EXPECT_EQ(none, empty.Buffer());
}

TEST_F(SoundChannels, ReadingStopsEverythingAndStartsTheSavedPieces) {
    ASSERT_TRUE(playSE("click.ogg"));
    ASSERT_TRUE(playVoice("v001.ogg"));
    ASSERT_TRUE(playBGM("tagged.ogg", true));
    Bytes bytes;
    putRecord(bytes, "NameENV", text("rain.ogg"));
    putRecord(bytes, "NameBGM", text("theme.ogg"));
    putRecord(bytes, "PathVO", text("ch02"));
    putRecord(bytes, "LoopBGM", {0});
    cSaveStream in(bytes.data(), bytes.size());
    serializeSound(in);
    EXPECT_FALSE(isVoicePlaying());
    EXPECT_TRUE(isEnvPlaying());
    EXPECT_TRUE(isBGMPlaying());
    EXPECT_STREQ("theme.ogg", getBgmName());
    EXPECT_STREQ("ch02", gVoiceFolder.c_str());
    EXPECT_FALSE(getLoopBGM());
    EXPECT_EQ(2u, fake.alive.size());  // the ambient loop and the music
    Reference ref(longPiece(), false);
    EXPECT_TRUE(ref.Next(kBgmBufferBytes) == fake.bgm()->memory);
}

TEST_F(SoundChannels, ReadingWithoutTheMusicNameStopsTheMusic) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    ASSERT_TRUE(playEnv("rain.ogg"));
    Bytes bytes;
    putRecord(bytes, "NameENV", text("rain.ogg"));
    putRecord(bytes, "PathVO", text(""));
    cSaveStream in(bytes.data(), bytes.size());
    serializeSound(in);
    EXPECT_EQ(nullptr, fake.bgm());
    EXPECT_FALSE(bgmStreamRunning());
    EXPECT_STREQ("", getBgmName());
    EXPECT_TRUE(isEnvPlaying());
    // An absent loop flag keeps the one there was.
    EXPECT_TRUE(getLoopBGM());
}

TEST_F(SoundChannels, ALoopFlagOfAnotherSizeIsNotRead) {
    setLoopBGM(true);
    Bytes bytes;
    putRecord(bytes, "NameBGM", text("short.ogg"));
    putRecord(bytes, "LoopBGM", {0, 0, 0, 0});
    cSaveStream in(bytes.data(), bytes.size());
    serializeSound(in);
    EXPECT_TRUE(getLoopBGM());
    EXPECT_TRUE(isBGMPlaying());
    EXPECT_TRUE(fake.bgm() != nullptr);
}

TEST_F(SoundChannels, TheRememberedNamesCanBePutBack) {
    ASSERT_TRUE(playBGM("theme.ogg", false));
    ASSERT_TRUE(playEnv("rain.ogg"));
    const std::string env = getEnvName(), bgm = getBgmName();
    const bool loop = getLoopBGM();
    stopBGM(false);
    stopEnv(false);
    setEnvName(env.c_str());
    setBgmName(bgm.c_str());
    setLoopBGM(loop);
    applySoundVolumes();
    EXPECT_TRUE(isBGMPlaying());
    EXPECT_TRUE(isEnvPlaying());
    EXPECT_FALSE(getLoopBGM());
}

TEST_F(SoundChannels, ResetStopsAndForgetsEverything) {
    ASSERT_TRUE(playBGM("theme.ogg", true));
    ASSERT_TRUE(playEnv("rain.ogg"));
    gVoiceFolder = "x";
    resetEngineState();
    EXPECT_EQ(0u, fake.alive.size());
    EXPECT_EQ(1, fake.joins);
    EXPECT_STREQ("", getEnvName());
    EXPECT_STREQ("", getBgmName());
    EXPECT_STREQ("", gVoiceFolder.c_str());
    EXPECT_FALSE(getLoopBGM());
}

}  // namespace
