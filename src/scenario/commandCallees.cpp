#include "scenario/commandCallees.h"

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
    c.maskWipeHard = maskWipeHard;
    c.maskWipeSoft = maskWipeSoft;
    c.runSaveLoadScreen = runSaveLoadScreen;
    c.runConfigDialog = runConfigDialog;
    c.runTimedChoice = runTimedChoice;
    c.playMovie = playMovie;
    c.isMoviePlaying = isMoviePlaying;
    c.stopMovie = stopMovie;
    addConfigurationCallees(c);
    return c;
}

// Wiring, not state: a test's table stays installed across the engine reset.
const CommandCallees* gInstalled = nullptr;

}  // namespace

const CommandCallees& realCommandCallees() {
    static const CommandCallees real = makeRealCallees();
    return real;
}

const CommandCallees& commandCallees() { return gInstalled ? *gInstalled : realCommandCallees(); }

void setCommandCallees(const CommandCallees* callees) { gInstalled = callees; }
