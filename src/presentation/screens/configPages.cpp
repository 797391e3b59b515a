#include "presentation/screens/configPages.h"

#include "base/settings.h"

namespace {
// The settings channel of each sound row.
constexpr SettingsChannel kRowChannel[4] = {kSettingsBGM, kSettingsVoice, kSettingsSE,
                                            kSettingsEnv};

int8_t twoWay(uint8_t value) { return value <= 1 ? static_cast<int8_t>(value) : kNoneChecked; }
int8_t threeWay(uint8_t value) { return value <= 2 ? static_cast<int8_t>(value) : kNoneChecked; }
uint8_t fromTwoWay(int8_t checked) { return checked == 1 ? 1 : 0; }
uint8_t fromThreeWay(int8_t checked) { return checked == 1 || checked == 2 ? checked : 0; }
}  // namespace

BasicPageValues basicPageValuesFromSettings(const UserSettingsBlock& s) {
    BasicPageValues p;
    p.unreadSpeed = static_cast<int32_t>(s.unreadTextSpeed > 4 ? 4 : s.unreadTextSpeed);
    p.readSpeed = static_cast<int32_t>(s.readTextSpeed > 4 ? 4 : s.readTextSpeed);
    p.autoSpeed = static_cast<int32_t>(s.autoSpeed > 10 ? 10 : s.autoSpeed);
    p.font = threeWay(s.font);
    p.shadow = twoWay(s.textShadow);
    for (int r = 0; r < 4; ++r) {
        p.soundOn[r] = s.soundEnabled[kRowChannel[r]] != 0;
        uint32_t v = s.soundVolume[kRowChannel[r]];
        p.soundVolume[r] = static_cast<int32_t>(v > 100 ? 100 : v);
    }
    p.femaleVoices = twoWay(s.femaleVoices);
    p.maleVoices = twoWay(s.maleVoices);
    p.stopVoice = twoWay(s.stopVoiceOnPage);
    p.fullScreen = twoWay(s.fullScreen);
    p.effects = twoWay(s.screenEffects);
    p.textColours = twoWay(s.speakerColours);
    p.hideCursor = twoWay(s.hideIdleCursor);
    p.captionChapter = s.captionChapter != 0;
    p.captionPlayTime = s.captionPlayTime != 0;
    p.skipAll = twoWay(s.skipAll);
    p.endSkip = twoWay(s.endSkipAfterChoice);
    p.bossKey = threeWay(s.bossKeyMode);
    return p;
}

void basicPageValuesToSettings(const BasicPageValues& p, bool soundGroupEnabled,
                               UserSettingsBlock& s) {
    auto level = [](int32_t v) { return static_cast<uint32_t>(v < 0 ? 0 : v); };
    s.unreadTextSpeed = level(p.unreadSpeed);
    s.readTextSpeed = level(p.readSpeed);
    s.autoSpeed = level(p.autoSpeed);
    s.font = fromThreeWay(p.font);
    s.textShadow = fromTwoWay(p.shadow);
    if (soundGroupEnabled) {
        for (int r = 0; r < 4; ++r) {
            s.soundEnabled[kRowChannel[r]] = p.soundOn[r] ? 1 : 0;
            s.soundVolume[kRowChannel[r]] = level(p.soundVolume[r]);
        }
        s.femaleVoices = fromTwoWay(p.femaleVoices);
        s.maleVoices = fromTwoWay(p.maleVoices);
        s.stopVoiceOnPage = fromTwoWay(p.stopVoice);
    }
    s.fullScreen = fromTwoWay(p.fullScreen);
    s.screenEffects = fromTwoWay(p.effects);
    s.speakerColours = fromTwoWay(p.textColours);
    s.hideIdleCursor = fromTwoWay(p.hideCursor);
    s.captionChapter = p.captionChapter ? 1 : 0;
    s.captionPlayTime = p.captionPlayTime ? 1 : 0;
    s.skipAll = fromTwoWay(p.skipAll);
    s.endSkipAfterChoice = fromTwoWay(p.endSkip);
    s.bossKeyMode = fromThreeWay(p.bossKey);
}

ActionListId inputRowList(int row) {
    switch (row) {
    case 0: return kListRightButton;
    case 1: return kListMiddleButton;
    case 2: return kListWheelUp;
    case 3: return kListWheelDown;
    case 4: return kListSpace;
    default: return row < kFirstPadRow ? kListFunctionKey : kListPad;
    }
}

int actionListLength(const uint8_t* list) {
    int n = 0;
    if (list)
        while (list[n] < kActionListEnd) ++n;
    return n;
}

int actionListPosition(const uint8_t* list, uint8_t action) {
    int n = actionListLength(list);
    for (int i = 0; i < n; ++i)
        if (list[i] == action) return i;
    return 0;
}

uint8_t actionAtPosition(const uint8_t* list, int position) {
    return position >= 0 && position < actionListLength(list) ? list[position] : 0;
}

namespace {
uint8_t* actionField(UserSettingsBlock& s, int row) {
    return reinterpret_cast<uint8_t*>(&s) + kFirstActionOffset + row;
}
uint8_t actionField(const UserSettingsBlock& s, int row) {
    return reinterpret_cast<const uint8_t*>(&s)[kFirstActionOffset + row];
}
}  // namespace

void inputPositionsFromSettings(const UserSettingsBlock& settings,
                                int positions[kInputRowCount]) {
    for (int row = 0; row < kInputRowCount; ++row)
        positions[row] =
            actionListPosition(actionList(inputRowList(row)), actionField(settings, row));
}

void inputPositionsToSettings(const int positions[kInputRowCount], UserSettingsBlock& settings) {
    for (int row = 0; row < kInputRowCount; ++row)
        *actionField(settings, row) =
            actionAtPosition(actionList(inputRowList(row)), positions[row]);
}

int32_t functionKeyRowY(int i) { return 60 + 24 * i + 8 * (i / 4); }
int32_t padRowY(int i) { return 28 + 24 * i; }

int enabledFunctionKeys(int64_t reported) {
    return reported < 0 ? 0 : reported > 12 ? 12 : static_cast<int>(reported);
}

int enabledPadButtons(int64_t buttons) {
    return buttons < 1 ? 0 : buttons > 8 ? 8 : static_cast<int>(buttons);
}
