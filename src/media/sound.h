// The four sound channels.
#pragma once

void initSound();
void shutdownSound();
void stopSE();
void stopVoice();
// The voice channel is playing.
bool isVoicePlaying();
// Stops and releases the primary buffer and sets the normal cooperative level on the window (its
// destruction).
void resetSoundFocus();
