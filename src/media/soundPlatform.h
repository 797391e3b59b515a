// The platform side of the sound channels: secondary buffers, the music streaming thread and the
// data files that sounds are read from. The program installs the DirectSound side at start-up;
// tests install their own (a fake buffer that records what is played and written).
#pragma once
#include <cstdint>

// 16-bit PCM of the given channels and rate (block = channels x 2 bytes).
struct SoundFormat {
    int32_t channels;
    int32_t rate;
};

// A locked range of a buffer: up to two parts (the second when the range wraps).
struct SoundLock {
    void* part1 = nullptr;
    uint32_t size1 = 0;
    void* part2 = nullptr;
    uint32_t size2 = 0;
};

// One secondary buffer.
class cSoundBuffer {
public:
    virtual ~cSoundBuffer() {}
    virtual bool Play(bool looping) = 0;
    virtual void Stop() = 0;
    // Attenuation in hundredths of a decibel (-10000 to 0).
    virtual void SetVolume(int32_t hundredthsDb) = 0;
    // The buffer's status has the playing bit.
    virtual bool IsPlaying() = 0;
    virtual bool GetPlayCursor(uint32_t& cursor) = 0;
    virtual bool SetPlayPosition(uint32_t offset) = 0;
    virtual bool Lock(uint32_t offset, uint32_t bytes, SoundLock& lock) = 0;
    virtual void Unlock(const SoundLock& lock) = 0;
};

struct SoundPlatform {
    // A new buffer of the format and size (streaming: the play cursor is read precisely), or null.
    cSoundBuffer* (*createBuffer)(const SoundFormat& format, uint32_t bytes, bool streaming);
    void (*releaseBuffer)(cSoundBuffer* buffer);
    // Starts the music streaming thread (which runs while bgmStreamRunning()); its handle, or null
    // when it cannot start.
    void* (*startStreamThread)();
    // Waits for the thread to end, without time-out, and closes its handle.
    void (*joinStreamThread)(void* thread);
    // A data file folder\name: opened with its byte size, read whole, closed.
    bool (*openFile)(const char* folder, const char* name, void** file, uint32_t* size);
    bool (*readFile)(void* file, void* destination, uint32_t bytes);
    void (*closeFile)(void* file);
};

// Installs the platform side (null: none, so nothing can play). The object must outlive its use.
void setSoundPlatform(const SoundPlatform* platform);
const SoundPlatform* getSoundPlatform();
