#include "media/sound.h"

// not built yet
void initSound() {}
// not built yet
void shutdownSound() {}
// not built yet
void stopSE() {}
// not built yet
void stopVoice() {}
// not built yet
bool isVoicePlaying() { return false; }
// not built yet
void serializeSound(cSaveStream&) {}
// not built yet
void resetSoundFocus() {}
