// The four sound channels: sound effects (SE), voices, the ambient loop (ENV) and the music (BGM).
// SE, voice and ENV sounds are decoded whole into one buffer per play; the music is streamed by
// one worker thread through a looping buffer of two halves, refilled half by half, and can fade
// out. Each channel has a switch and a volume from UserSettings; the ambient and music names, the
// loop flag and the voice folder go into every save ("Data_Sound").
//
// This is the computing side; the buffers, the thread and the data files come from the platform
// side installed with setSoundPlatform (media/soundPlatform.h, DirectSound in media/soundDevice.h).
#pragma once
#include <cstdint>

#include "base/vstring.h"

class cSaveStream;
class cSoundBuffer;

enum SoundChannel : uint8_t {
    kChannelSE = 0,
    kChannelVoice = 1,
    kChannelEnv = 2,
    kChannelBGM = 3,
};

// The music buffer: two halves of 2.5 seconds of 44.1 kHz stereo 16-bit sound.
constexpr uint32_t kBgmBufferBytes = 882000;
constexpr uint32_t kBgmHalfBytes = kBgmBufferBytes / 2;
// Largest buffer a whole sound is decoded into.
constexpr uint64_t kMaxSoundBufferBytes = 0x0FFFFFFF;

// The module's state back to the start (channels stopped, names empty); the module object's set-up
// and the engine reset.
void initSoundModule();

// Decodes folder\name whole into a new buffer in the slot (the old one released first). False for
// a missing or undecodable file; a failed lock leaves the silent buffer in the slot.
bool loadStaticSound(cSoundBuffer*& slot, const char* folder, const char* name);

// One-shot plays from "se" and "voice"; true without sound when the channel is off.
bool playSE(const char* name);
bool playVoice(const char* name);
// The ambient loop from "env": the loop of that name (in any letter case, equalsIgnoringCase) that
// plays goes on; a channel that is off only remembers the name.
bool playEnv(const char* name);
// Streamed music from "bgm": the piece of that name (in any letter case, equalsIgnoringCase) that
// plays, and is not fading, goes on; a channel that is off only remembers the name and loop flag.
bool playBGM(const char* name, bool loop);
// Play the remembered names again (the empty name stops).
void restartEnv();
void restartBGM();
void stopSE();
void stopVoice();
// Stop and release; the name is forgotten unless keep is set.
void stopEnv(bool keep);
// Also ends the streaming thread, waiting for it.
void stopBGM(bool keep);
// Starts the fade (10 dB a second from the channel's volume) and forgets the music's name.
void fadeOutBGM();

// Switch and volume (0 to 100) of one channel, applied at once.
void setSEVolume(uint8_t on, int32_t volume);
void setVoiceVolume(uint8_t on, int32_t volume);
void setEnvVolume(uint8_t on, int32_t volume);
void setBGMVolume(uint8_t on, int32_t volume);
// The four setters from UserSettings, in the order voice, SE, ENV, BGM.
void applySoundVolumes();

bool isVoicePlaying();
bool isEnvPlaying();
// Music plays and is not fading.
bool isBGMPlaying();

// The save section "Data_Sound", written or read by the stream's mode. Reading stops all four
// channels first and starts the remembered ambient loop and music again at its end.
void serializeSound(cSaveStream& stream);

// The folder of the voices that the script command "voice" plays (saved as "PathVO"); "" at start.
extern vstring& gVoiceFolder;

// The remembered names and loop flag (the configuration dialog keeps and restores them).
const char* getEnvName();
void setEnvName(const char* name);
const char* getBgmName();
void setBgmName(const char* name);
bool getLoopBGM();
void setLoopBGM(bool loop);

// The streaming thread's steps: it runs while bgmStreamRunning(), calling refillBGMStream every
// 100 ms. The refill runs the fade step while fading and, once the play cursor has crossed into
// the other half, fills the half not playing (with silence once stopping). It allocates nothing.
bool bgmStreamRunning();
void refillBGMStream();
void fadeBGMStep();
// The platform's handle of the streaming thread, null when none.
void* bgmStreamThreadHandle();
