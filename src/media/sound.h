// The four sound channels.
#pragma once

#include "base/vstring.h"

class cSaveStream;

// The folder of the voices that the script command "voice" plays (saved as "PathVO"); "" at start.
extern vstring& gVoiceFolder;

void initSound();
void shutdownSound();
void stopSE();
void stopVoice();
// The voice channel is playing.
bool isVoicePlaying();
// The save section "Data_Sound", written or read by the stream's mode.
void serializeSound(cSaveStream& stream);
// Stops and releases the primary buffer and sets the normal cooperative level on the window (its
// destruction).
void resetSoundFocus();

// One-shot plays of folders "se" and "voice"; false when nothing plays.
bool playSE(const char* name);
bool playVoice(const char* name);
// The ambient loop of folder "env".
bool playEnv(const char* name);
// Streamed music of folder "bgm", looping when asked.
bool playBGM(const char* name, bool loop);
// Stop and release; the remembered name is forgotten unless keepName.
void stopEnv(bool keepName);
void stopBGM(bool keepName);
// Starts the music's fade-out and forgets its name.
void fadeOutBGM();
