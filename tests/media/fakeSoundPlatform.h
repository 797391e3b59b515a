// A platform side for the sound channels without a device: buffers are memory that records how it
// is played, locked and written; the streaming thread is a token (tests run its steps
// themselves); data files come from a table.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "media/soundPlatform.h"
#include "oggFixture.h"

class FakeBuffer : public cSoundBuffer {
public:
    FakeBuffer(const SoundFormat& f, uint32_t n, bool s)
        : format(f), bytes(n), streaming(s), memory(n, 0xEE) {}
    bool Play(bool loop) override;
    void Stop() override;
    void SetVolume(int32_t v) override;
    bool IsPlaying() override { return playing; }
    bool GetPlayCursor(uint32_t& c) override;
    bool SetPlayPosition(uint32_t offset) override;
    bool Lock(uint32_t offset, uint32_t n, SoundLock& lock) override;
    void Unlock(const SoundLock& lock) override;

    SoundFormat format;
    uint32_t bytes;
    bool streaming;
    Bytes memory;  // 0xEE until written
    bool playing = false;
    bool looping = false;
    int plays = 0;
    int stops = 0;
    int32_t volume = 0;
    std::vector<int32_t> volumes;
    uint32_t cursor = 0;
    uint32_t position = 0xFFFFFFFF;
    bool playFails = false;
    bool lockFails = false;
    bool cursorFails = false;
    std::vector<std::pair<uint32_t, uint32_t>> locks;  // offset, bytes of every attempt
    int unlocks = 0;
};

class FakeSound {
public:
    // Installs itself as the platform side (one at a time).
    FakeSound();
    ~FakeSound();

    // A data file, found by folder and name without regard to letter case.
    void file(const std::string& folder, const std::string& name, const Bytes& bytes);

    // The one live buffer of the kind (null when none; fails the test when there are more).
    FakeBuffer* live(bool streaming) const;
    FakeBuffer* bgm() const { return live(true); }
    // The buffer made last, while it lives.
    FakeBuffer* newest() const { return alive.empty() ? nullptr : alive.back(); }

    std::map<std::string, Bytes> files;
    std::vector<FakeBuffer*> alive;
    int created = 0;
    int released = 0;
    bool createFails = false;
    bool newBuffersFailLock = false;
    bool threadFails = false;
    int threadsStarted = 0;
    int joins = 0;
    std::vector<void*> joined;
    // Runs inside the join, as the thread's last pass would.
    std::function<void()> onJoin;
};
