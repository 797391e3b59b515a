#include "media/sound.h"

void initSound() {}
void shutdownSound() {}
void stopSE() {}
void stopVoice() {}
bool isVoicePlaying() { return false; }
void resetSoundFocus() {}
