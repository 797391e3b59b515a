#include "base/settings.h"

#include <cstring>

#include "base/commandId.h"
#include "base/moduleState.h"

UserSettingsBlock UserSettings;

namespace {
const cModuleReset kReset(0, setDefaultSettings);
}

void setDefaultSettings() {
    UserSettingsBlock& s = UserSettings;
    std::memset(&s, 0, sizeof s);
    s.unreadTextSpeed = 2;
    s.readTextSpeed = 2;
    s.autoSpeed = 5;
    s.font = 0;
    s.textShadow = 1;
    for (int c = 0; c < 4; ++c) {
        s.soundEnabled[c] = 1;
        s.soundVolume[c] = 50;
    }
    s.maleVoices = 1;
    s.femaleVoices = 1;
    s.stopVoiceOnPage = 1;
    s.fullScreen = 0;
    s.screenEffects = 1;
    s.endSkipAfterChoice = 1;
    s.bossKeyMode = kBossKeyTray;
    s.rightButtonAction = kCmdPopupMenu;
    s.middleButtonAction = kCmdConfig;
    s.wheelUpAction = kCmdBacklog;
    s.wheelDownAction = kCmdAdvance;
    s.spaceAction = kCmdOk;
    s.joystickActions[0] = kCmdOk;
    s.joystickActions[1] = kCmdCancel;
}

namespace {
template <typename T>
void clampTo(T& v, T max) {
    if (v > max) v = max;
}

void clampAction(uint8_t& v) {
    if (v > kSettingsMaxAction) v = 0;
}
}  // namespace

void clampSettings(UserSettingsBlock& s) {
    clampTo<uint32_t>(s.unreadTextSpeed, 4);
    clampTo<uint32_t>(s.readTextSpeed, 4);
    clampTo<uint32_t>(s.autoSpeed, 10);
    clampTo<uint8_t>(s.font, 2);
    clampTo<uint8_t>(s.textShadow, 1);
    for (int c = 0; c < 4; ++c) {
        clampTo<uint8_t>(s.soundEnabled[c], 1);
        clampTo<uint32_t>(s.soundVolume[c], 100);
    }
    uint8_t* truths[] = {&s.maleVoices,     &s.femaleVoices,  &s.stopVoiceOnPage,
                         &s.fullScreen,     &s.screenEffects, &s.speakerColours,
                         &s.hideIdleCursor, &s.captionChapter, &s.captionPlayTime,
                         &s.skipAll,        &s.endSkipAfterChoice};
    for (uint8_t* t : truths) clampTo<uint8_t>(*t, 1);
    clampTo<uint8_t>(s.bossKeyMode, kBossKeyQuickSaveExit);
    clampAction(s.rightButtonAction);
    clampAction(s.middleButtonAction);
    clampAction(s.wheelUpAction);
    clampAction(s.wheelDownAction);
    clampAction(s.spaceAction);
    for (uint8_t& a : s.functionKeyActions) clampAction(a);
    for (uint8_t& a : s.joystickActions) clampAction(a);
}
