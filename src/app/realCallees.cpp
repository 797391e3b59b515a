#include "app/realCallees.h"

#include "base/input.h"
#include "graphics/screenEffects.h"
#include "graphics/transitions.h"
#include "media/movie.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "presentation/msgDisplay.h"
#include "presentation/screens/configDialog.h"
#include "presentation/screens/saveSlots.h"
#include "presentation/timedClick.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"

#include <windows.h>

namespace {

void sleepMs(uint32_t ms) { Sleep(ms); }

CommandCallees makeRealCallees() {
    CommandCallees c = {};
    c.clearCommand = clearCommand;
    c.pollInput = pollInput;
    c.getCommand = getCommand;
    c.isSkipping = isSkipping;
    c.sleep = sleepMs;
    c.waitClick = waitClick;
    c.setMsgWindowMode = setMsgWindowMode;
    c.isVoiceEnabled = isVoiceEnabled;
    c.setChapter = setChapter;
    c.clearLocalVariables = clearLocalVariables;
    c.setSeenFlag = setSeenFlag;
    c.clearAllAnime = clearAllAnime;
    c.clearAnime = clearAnime;
    c.loadAnime = loadAnime;
    c.applyAnimeSection = applyAnimeSection;
    c.setAnimeX = setAnimeX;
    c.setAnimeY = setAnimeY;
    c.resetAnimeOrigin = resetAnimeOrigin;
    c.setFadeTime = setFadeTime;
    c.playBGM = playBGM;
    c.stopBGM = stopBGM;
    c.fadeOutBGM = fadeOutBGM;
    c.playEnv = playEnv;
    c.stopEnv = stopEnv;
    c.playSE = playSE;
    c.stopSE = stopSE;
    c.playVoice = playVoice;
    c.setPendingVoice = mLogBox::SetPendingVoice;
    c.lookupColourName = lookupColourName;
    c.flashScreen = flashScreen;
    c.shakeScreen = shakeScreen;
    c.playNoiseEffect = playNoiseEffect;
    // The wipes reveal the scene composed anew.
    c.maskWipeHard = [](const char* rule, uint32_t ms) {
        return maskWipeHard(rule, ms, composeScreenNow);
    };
    c.maskWipeSoft = [](const char* rule, uint32_t ms) {
        return maskWipeSoft(rule, ms, composeScreenNow);
    };
    c.runSaveLoadScreen = runSaveLoadScreen;
    c.runConfigDialog = runConfigDialog;
    c.runTimedChoice = runTimedChoice;
    c.playMovie = playMovie;
    c.isMoviePlaying = isMoviePlaying;
    c.stopMovie = stopMovie;
    addConfigurationCallees(c);
    return c;
}

}  // namespace

const CommandCallees& realCommandCallees() {
    static const CommandCallees real = makeRealCallees();
    return real;
}
