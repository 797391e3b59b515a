// The four sound channels.
#pragma once

class cSaveStream;

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
