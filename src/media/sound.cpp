#include "media/sound.h"

#include <atomic>
#include <cstring>

#include "base/caseInsensitive.h"
#include "base/clock.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "base/vstring.h"
#include "files/saveStream.h"
#include "media/oggLoader.h"
#include "media/soundPlatform.h"
#include "media/volume.h"

namespace {

struct ChannelState {
    cSoundBuffer* buffer = nullptr;  // none while silent
    uint8_t enabled = 0;
    // Read by the streaming thread while fading (the music channel).
    std::atomic<int32_t> volume{0};
};

// Shared with the streaming thread: the music buffer and decoder (replaced only after the thread
// has ended), the running and fading flags, the half filled last, the fade start and the music
// volume. The flags are published with release and read with acquire.
struct SoundState {
    ChannelState channels[4];  // SoundChannel order
    vstring envName;
    vstring bgmName;
    vstring voiceFolder;
    uint8_t loopBGM = 0;
    cOggLoader bgmLoader;
    void* bgmThread = nullptr;
    std::atomic<uint8_t> bgmRunning{0};
    std::atomic<uint8_t> bgmHalf{0};
    std::atomic<uint8_t> bgmFading{0};
    std::atomic<uint32_t> bgmFadeStart{0};
};

SoundState gSound MODULE_OBJECT(kOrderSound);

const cModuleReset kReset(kOrderSound, initSoundModule);
}  // namespace

vstring& gVoiceFolder = gSound.voiceFolder;

namespace {

ChannelState& channel(SoundChannel c) { return gSound.channels[c]; }

int32_t channelDb(SoundChannel c) { return volumeToDb(channel(c).volume.load(), 100); }

void releaseBuffer(cSoundBuffer*& buffer) {
    if (!buffer) return;
    buffer->Stop();
    const SoundPlatform* platform = getSoundPlatform();
    if (platform && platform->releaseBuffer) platform->releaseBuffer(buffer);
    buffer = nullptr;
}

cSoundBuffer* createBuffer(const SoundFormat& format, uint64_t bytes, bool streaming) {
    const SoundPlatform* platform = getSoundPlatform();
    if (!platform || !platform->createBuffer || bytes == 0 || bytes > kMaxSoundBufferBytes)
        return nullptr;
    return platform->createBuffer(format, static_cast<uint32_t>(bytes), streaming);
}

bool sameName(const vstring& kept, const char* name) { return equalsIgnoringCase(kept.c_str(), name); }

bool isPlaying(SoundChannel c) {
    cSoundBuffer* buffer = channel(c).buffer;
    return buffer && buffer->IsPlaying();
}

void setBufferVolume(SoundChannel c) {
    if (cSoundBuffer* buffer = channel(c).buffer) buffer->SetVolume(channelDb(c));
}

bool playOnce(SoundChannel c, const char* folder, const char* name) {
    ChannelState& ch = channel(c);
    releaseBuffer(ch.buffer);
    if (!ch.enabled) return true;
    if (!loadStaticSound(ch.buffer, folder, name ? name : "")) return false;
    ch.buffer->SetVolume(channelDb(c));
    return ch.buffer->Play(false);
}

void decodeInto(cOggLoader& loader, const SoundLock& lock) {
    if (lock.part1 && lock.size1) loader.Decode(lock.part1, lock.size1);
    if (lock.part2 && lock.size2) loader.Decode(lock.part2, lock.size2);
}

void zeroFill(const SoundLock& lock) {
    if (lock.part1 && lock.size1) std::memset(lock.part1, 0, lock.size1);
    if (lock.part2 && lock.size2) std::memset(lock.part2, 0, lock.size2);
}
}  // namespace

void initSoundModule() {
    stopSE();
    stopVoice();
    stopEnv(false);
    stopBGM(false);
    for (ChannelState& ch : gSound.channels) {
        ch.enabled = 0;
        ch.volume.store(0);
    }
    gSound.voiceFolder.clear();
    gSound.loopBGM = 0;
    gSound.bgmLoader.Reset();
    gSound.bgmHalf.store(0);
    gSound.bgmFadeStart.store(0);
}

bool loadStaticSound(cSoundBuffer*& slot, const char* folder, const char* name) {
    releaseBuffer(slot);
    cOggLoader loader;
    if (!loader.Open(folder, name)) return false;
    const SoundFormat format = {loader.Channels(), loader.Rate()};
    const uint64_t bytes =
        static_cast<uint64_t>(loader.TotalFrames()) * static_cast<uint64_t>(loader.Channels()) * 2;
    slot = createBuffer(format, bytes, false);
    if (!slot) return false;
    SoundLock lock;
    if (!slot->Lock(0, static_cast<uint32_t>(bytes), lock)) return false;
    decodeInto(loader, lock);
    slot->Unlock(lock);
    return true;
}

bool playSE(const char* name) { return playOnce(kChannelSE, "se", name); }

bool playVoice(const char* name) { return playOnce(kChannelVoice, "voice", name); }

bool playEnv(const char* text) {
    // A copy: the caller's text may be the remembered name that stopping empties.
    const vstring name(text ? text : "");
    if (sameName(gSound.envName, name.c_str()) && isEnvPlaying()) return true;
    stopEnv(false);
    gSound.envName = name;
    ChannelState& ch = channel(kChannelEnv);
    if (!ch.enabled) return true;
    if (!loadStaticSound(ch.buffer, "env", name.c_str())) return false;
    ch.buffer->SetVolume(channelDb(kChannelEnv));
    return ch.buffer->Play(true);
}

bool playBGM(const char* text, bool loop) {
    if (!text || !*text) return false;
    const vstring name(text);
    if (sameName(gSound.bgmName, name.c_str()) && isBGMPlaying()) return true;
    stopBGM(false);
    gSound.bgmName = name;
    gSound.loopBGM = loop ? 1 : 0;
    ChannelState& ch = channel(kChannelBGM);
    if (!ch.enabled) return true;

    cOggLoader& loader = gSound.bgmLoader;
    if (!loader.Open("bgm", name.c_str())) return false;
    loader.SetLoop(loop);
    ch.buffer = createBuffer({loader.Channels(), loader.Rate()}, kBgmBufferBytes, true);
    if (!ch.buffer) return false;
    ch.buffer->SetPlayPosition(0);
    SoundLock lock;
    if (!ch.buffer->Lock(0, kBgmBufferBytes, lock)) return false;
    decodeInto(loader, lock);
    ch.buffer->Unlock(lock);
    ch.buffer->SetVolume(channelDb(kChannelBGM));
    if (!ch.buffer->Play(true)) return false;

    gSound.bgmHalf.store(0, std::memory_order_release);
    gSound.bgmRunning.store(1, std::memory_order_release);
    const SoundPlatform* platform = getSoundPlatform();
    void* thread =
        platform && platform->startStreamThread ? platform->startStreamThread() : nullptr;
    if (!thread) {
        // Without its thread the buffer would repeat its five seconds for ever.
        gSound.bgmRunning.store(0, std::memory_order_release);
        releaseBuffer(ch.buffer);
        return false;
    }
    gSound.bgmThread = thread;
    return true;
}

void restartEnv() {
    if (gSound.envName.empty()) {
        stopEnv(false);
        return;
    }
    playEnv(gSound.envName.c_str());
}

void restartBGM() {
    if (gSound.bgmName.empty()) {
        stopBGM(false);
        return;
    }
    playBGM(gSound.bgmName.c_str(), gSound.loopBGM != 0);
}

void stopSE() { releaseBuffer(channel(kChannelSE).buffer); }

void stopVoice() { releaseBuffer(channel(kChannelVoice).buffer); }

void stopEnv(bool keep) {
    if (!keep) gSound.envName.clear();
    releaseBuffer(channel(kChannelEnv).buffer);
}

void stopBGM(bool keep) {
    if (!keep) gSound.bgmName.clear();
    gSound.bgmFading.store(0, std::memory_order_release);
    gSound.bgmRunning.store(0, std::memory_order_release);
    if (gSound.bgmThread) {
        const SoundPlatform* platform = getSoundPlatform();
        if (platform && platform->joinStreamThread) platform->joinStreamThread(gSound.bgmThread);
        gSound.bgmThread = nullptr;
    }
    releaseBuffer(channel(kChannelBGM).buffer);
}

void fadeOutBGM() {
    // The start before the flag, so the thread never sees the flag with an old start.
    gSound.bgmFadeStart.store(currentTimeMs(), std::memory_order_release);
    gSound.bgmFading.store(1, std::memory_order_release);
    gSound.bgmName.clear();
}

void fadeBGMStep() {
    cSoundBuffer* buffer = channel(kChannelBGM).buffer;
    if (!buffer) return;
    const uint32_t start = gSound.bgmFadeStart.load(std::memory_order_acquire);
    const int64_t level =
        static_cast<int64_t>(channelDb(kChannelBGM)) - elapsedMs(start, currentTimeMs());
    if (level < kSilentDb) buffer->Stop();
    else buffer->SetVolume(level < 0 ? static_cast<int32_t>(level) : 0);
}

bool bgmStreamRunning() { return gSound.bgmRunning.load(std::memory_order_acquire) != 0; }

void refillBGMStream() {
    cSoundBuffer* buffer = channel(kChannelBGM).buffer;
    if (!buffer) return;
    if (gSound.bgmFading.load(std::memory_order_acquire)) fadeBGMStep();
    uint32_t cursor = 0;
    if (!buffer->GetPlayCursor(cursor)) return;
    const uint8_t half = cursor < kBgmHalfBytes ? 0 : 1;
    if (half == gSound.bgmHalf.load(std::memory_order_acquire)) return;
    gSound.bgmHalf.store(half, std::memory_order_release);
    // The half that is not playing; a failed lock waits for the next crossing.
    SoundLock lock;
    if (!buffer->Lock(half == 1 ? 0 : kBgmHalfBytes, kBgmHalfBytes, lock)) return;
    if (bgmStreamRunning()) decodeInto(gSound.bgmLoader, lock);
    else zeroFill(lock);
    buffer->Unlock(lock);
}

void* bgmStreamThreadHandle() { return gSound.bgmThread; }

void setSEVolume(uint8_t on, int32_t volume) {
    ChannelState& ch = channel(kChannelSE);
    ch.enabled = on;
    ch.volume.store(volume);
    if (!on) stopSE();
    setBufferVolume(kChannelSE);
}

void setVoiceVolume(uint8_t on, int32_t volume) {
    ChannelState& ch = channel(kChannelVoice);
    ch.enabled = on;
    ch.volume.store(volume);
    if (!on) stopVoice();
    setBufferVolume(kChannelVoice);
}

void setEnvVolume(uint8_t on, int32_t volume) {
    ChannelState& ch = channel(kChannelEnv);
    ch.enabled = on;
    ch.volume.store(volume);
    if (on) restartEnv();
    else stopEnv(true);
    setBufferVolume(kChannelEnv);
}

void setBGMVolume(uint8_t on, int32_t volume) {
    ChannelState& ch = channel(kChannelBGM);
    ch.enabled = on;
    ch.volume.store(volume);
    if (on) restartBGM();
    else stopBGM(true);
    if (gSound.bgmFading.load(std::memory_order_acquire)) fadeBGMStep();
    else setBufferVolume(kChannelBGM);
}

void applySoundVolumes() {
    auto volume = [](SettingsChannel c) {
        return static_cast<int32_t>(UserSettings.soundVolume[c]);
    };
    setVoiceVolume(UserSettings.soundEnabled[kSettingsVoice], volume(kSettingsVoice));
    setSEVolume(UserSettings.soundEnabled[kSettingsSE], volume(kSettingsSE));
    setEnvVolume(UserSettings.soundEnabled[kSettingsEnv], volume(kSettingsEnv));
    setBGMVolume(UserSettings.soundEnabled[kSettingsBGM], volume(kSettingsBGM));
}

bool isVoicePlaying() { return isPlaying(kChannelVoice); }

bool isEnvPlaying() { return isPlaying(kChannelEnv); }

bool isBGMPlaying() {
    return isPlaying(kChannelBGM) && !gSound.bgmFading.load(std::memory_order_acquire);
}

void serializeSound(cSaveStream& stream) {
    const bool reading = !stream.IsWriting();
    if (reading) {
        stopVoice();
        stopSE();
        stopBGM(false);
        stopEnv(false);
    }
    stream.StringField("NameENV", gSound.envName);
    stream.StringField("NameBGM", gSound.bgmName);
    stream.StringField("PathVO", gSound.voiceFolder);
    // An absent or differently sized field keeps the flag.
    stream.U8Field("LoopBGM", gSound.loopBGM);
    if (reading) {
        restartEnv();
        restartBGM();
    }
}

const char* getEnvName() { return gSound.envName.c_str(); }
void setEnvName(const char* name) { gSound.envName = name ? name : ""; }
const char* getBgmName() { return gSound.bgmName.c_str(); }
void setBgmName(const char* name) { gSound.bgmName = name ? name : ""; }
bool getLoopBGM() { return gSound.loopBGM != 0; }
void setLoopBGM(bool loop) { gSound.loopBGM = loop ? 1 : 0; }
