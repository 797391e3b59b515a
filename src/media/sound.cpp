#include "media/sound.h"

#include "base/moduleOrder.h"
#include "base/moduleState.h"

// not built yet: the module's state, of which only the voice folder exists so far.
namespace {
struct SoundState {
    vstring voiceFolder;
};
SoundState gSoundState MODULE_OBJECT(kOrderSound);
const cModuleReset kReset(kOrderSound, [] { gSoundState = SoundState(); });
}  // namespace

vstring& gVoiceFolder = gSoundState.voiceFolder;

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
// not built yet
bool playSE(const char*) { return false; }
// not built yet
bool playVoice(const char*) { return false; }
// not built yet
bool playEnv(const char*) { return false; }
// not built yet
bool playBGM(const char*, bool) { return false; }
// not built yet
void stopEnv(bool) {}
// not built yet
void stopBGM(bool) {}
// not built yet
void fadeOutBGM() {}
