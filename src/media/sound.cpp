#include "media/sound.h"

void initSound() {}
void shutdownSound() {}
void stopSE() {}
void stopVoice() {}
