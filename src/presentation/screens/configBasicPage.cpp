// The configuration dialog's basic page: text speeds and font, sound channels (acting on the sound
// module at once), display, skip and boss-key choices.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <initializer_list>

#include "base/appHooks.h"
#include "base/moduleState.h"
#include "base/settings.h"
#include "base/uiText.h"
#include "media/sound.h"
#include "media/soundDevice.h"
#include "presentation/screens/configControls.h"
#include "presentation/screens/configDialogPages.h"
#include "presentation/screens/configPages.h"

namespace {
constexpr int kIdFirstSound = 500;  // checkboxes 500 to 503, test buttons 504 to 507
constexpr int kIdFirstTest = 504;
constexpr int kIdLastSound = 507;
constexpr size_t kNameSize = 260;
const char kSampleSound[] = "sample.ogg";

// A row of radio buttons and the value each stands for.
struct RadioRow {
    HWND buttons[3] = {};
    int8_t values[3] = {};
    int count = 0;

    void Add(HWND button, int8_t value) {
        if (count < 3) {
            buttons[count] = button;
            values[count++] = value;
        }
    }
    int8_t Checked() const {
        for (int i = 0; i < count; ++i)
            if (isChecked(buttons[i])) return values[i];
        return kNoneChecked;
    }
    void Check(int8_t value) const {
        for (int i = 0; i < count; ++i) setChecked(buttons[i], values[i] == value);
    }
};

enum Row : int {
    kFont, kShadow, kFemale, kMale, kStopVoice, kScreenMode, kEffects, kColours, kCursor,
    kSkipAll, kEndSkip, kBoss, kRowCount
};

struct BasicPageState {
    HWND textSliders[3] = {};  // unread, read, auto
    RadioRow rows[kRowCount];
    HWND soundGroup = nullptr;
    HWND soundChecks[4] = {};   // by SoundRow
    HWND soundTests[4] = {};
    HWND soundSliders[4] = {};
    HWND fullScreenRadio = nullptr;
    HWND captionChecks[2] = {};  // chapter, play time
    WNDPROC groupProc = nullptr;  // the sound group box's own procedure
    char bgmTestName[kNameSize] = "";
    char envTestName[kNameSize] = "";
};
BasicPageState gBasic;
const cModuleReset kReset(0, [] { gBasic = BasicPageState(); });

void setTestName(char* out, const char* name) {
    std::snprintf(out, kNameSize, "%s", name && *name ? name : kSampleSound);
}

void updateBgmTestCaption() {
    SetWindowTextA(gBasic.soundTests[kRowBGM],
                   uiText(isBGMPlaying() ? UiText::BasicTestStop : UiText::BasicTestPlay));
}

void updateAmbientTestCaption() {
    SetWindowTextA(gBasic.soundTests[kRowEnv],
                   uiText(isEnvPlaying() ? UiText::BasicTestStop : UiText::BasicTestPlay));
}

// One channel's checkbox and slider to the sound module; its test button follows the checkbox.
void applyChannel(SoundRow row, void (*set)(uint8_t, int32_t)) {
    bool on = isChecked(gBasic.soundChecks[row]);
    set(on ? 1 : 0, trackBarPosition(gBasic.soundSliders[row]));
    if (gBasic.soundTests[row]) EnableWindow(gBasic.soundTests[row], on);
}
void applyBgmChannel() { applyChannel(kRowBGM, setBGMVolume); }
void applyVoiceChannel() { applyChannel(kRowVoice, setVoiceVolume); }
void applySeChannel() { applyChannel(kRowSE, setSEVolume); }
void applyAmbientChannel() { applyChannel(kRowEnv, setEnvVolume); }

void soundCommand(int id) {
    switch (id) {
    case 500: applyBgmChannel(); updateBgmTestCaption(); break;
    case 501: applyVoiceChannel(); break;
    case 502: applySeChannel(); break;
    case 503: applyAmbientChannel(); updateAmbientTestCaption(); break;
    case 504:
        if (isBGMPlaying()) stopBGM(false);
        else playBGM(gBasic.bgmTestName, true);
        updateBgmTestCaption();
        break;
    case 505: playVoice(kSampleSound); break;
    case 506: playSE(kSampleSound); break;
    case 507:
        if (isEnvPlaying()) stopEnv(false);
        else playEnv(gBasic.envTestName);
        updateAmbientTestCaption();
        break;
    default: break;
    }
}

LRESULT CALLBACK soundGroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        int id = LOWORD(wParam);
        if (id >= kIdFirstSound && id <= kIdLastSound) {
            soundCommand(id);
            return 0;
        }
    } else if (message == WM_HSCROLL) {
        HWND slider = reinterpret_cast<HWND>(lParam);
        if (slider && slider == gBasic.soundSliders[kRowBGM]) return applyBgmChannel(), 0;
        if (slider && slider == gBasic.soundSliders[kRowVoice]) return applyVoiceChannel(), 0;
        if (slider && slider == gBasic.soundSliders[kRowSE]) return applySeChannel(), 0;
        if (slider && slider == gBasic.soundSliders[kRowEnv]) return applyAmbientChannel(), 0;
    }
    WNDPROC own = gBasic.groupProc;
    return own ? CallWindowProcA(own, window, message, wParam, lParam)
               : DefWindowProcA(window, message, wParam, lParam);
}

HWND label(HWND group, UiText text, int x, int y, int width) {
    return createStaticText(group, uiText(text), x, y, width, 12, 0);
}

// Adds a radio button to a row; the row's first button starts the group.
void radioAt(HWND group, Row row, UiText text, int x, int y, int width, int8_t value) {
    RadioRow& r = gBasic.rows[row];
    r.Add(createRadioButton(group, uiText(text), x, y, width, 17, r.count == 0), value);
}

// A radio row in a group box: its buttons from left to right with their values.
struct RadioSpec {
    UiText text;
    int x, width;
    int8_t value;
};
void radioRow(HWND group, Row row, int y, std::initializer_list<RadioSpec> buttons) {
    for (const RadioSpec& b : buttons) radioAt(group, row, b.text, b.x, y, b.width, b.value);
}

void buildTextGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::BasicGroupText), 8, 8, 297, 153, 0);
    label(g, UiText::BasicUnread, 16, 32, 76);
    label(g, UiText::BasicRead, 16, 56, 76);
    label(g, UiText::BasicAuto, 16, 80, 76);
    label(g, UiText::BasicFont, 16, 104, 76);
    label(g, UiText::BasicShadow, 16, 128, 76);
    createStaticText(g, uiText(UiText::BasicSlow), 120, 10, 40, 12, 0);
    createStaticText(g, uiText(UiText::BasicFast), 240, 10, 40, 12, 0);
    gBasic.textSliders[0] = createTrackBar(g, 112, 24, 169, 24, 4, 16);
    gBasic.textSliders[1] = createTrackBar(g, 112, 48, 169, 24, 4, 16);
    gBasic.textSliders[2] = createTrackBar(g, 112, 72, 169, 24, 10, 16);
    radioRow(g, kFont, 104, {{UiText::BasicFontMixed, 112, 57, 0},
                             {UiText::BasicFontMincho, 168, 57, 1},
                             {UiText::BasicFontGothic, 224, 65, 2}});
    radioRow(g, kShadow, 128, {{UiText::BasicYes, 112, 57, 1}, {UiText::BasicNo, 168, 57, 0}});
}

void buildSoundGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::BasicGroupSound), 8, 168, 297, 217, 0);
    gBasic.soundGroup = g;
    createStaticText(g, uiText(UiText::BasicMin), 120, 10, 40, 12, 0);
    createStaticText(g, uiText(UiText::BasicMax), 240, 10, 40, 12, 0);
    static const UiText kChecks[4] = {UiText::BasicBgm, UiText::BasicVoice, UiText::BasicSe,
                                      UiText::BasicEnv};
    for (int r = 0; r < 4; ++r) {
        int y = 28 + 24 * r;
        gBasic.soundChecks[r] = createCheckBox(g, kIdFirstSound + r, uiText(kChecks[r]), 16, y, 56,
                                               17);
        gBasic.soundTests[r] = createPushButton(g, kIdFirstTest + r, uiText(UiText::BasicTest), 76,
                                                y, 33, 17, 0);
        gBasic.soundSliders[r] = createTrackBar(g, 112, y - 4, 169, 24, 100, 16);
    }
    updateAmbientTestCaption();
    updateBgmTestCaption();
    label(g, UiText::BasicFemale, 16, 136, 96);
    radioRow(g, kFemale, 136, {{UiText::BasicYes, 128, 57, 1}, {UiText::BasicNo, 184, 57, 0}});
    label(g, UiText::BasicMale, 16, 160, 96);
    radioRow(g, kMale, 160, {{UiText::BasicYes, 128, 57, 1}, {UiText::BasicNo, 184, 57, 0}});
    label(g, UiText::BasicPageVoice, 16, 189, 96);
    radioRow(g, kStopVoice, 184,
             {{UiText::BasicStop, 128, 57, 1}, {UiText::BasicNoStop, 184, 65, 0}});
}

void buildDisplayGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::BasicGroupDisplay), 312, 8, 297, 153, 0);
    label(g, UiText::BasicScreenMode, 16, 32, 104);
    radioRow(g, kScreenMode, 32,
             {{UiText::BasicWindowed, 120, 72, 0}, {UiText::BasicFullScreen, 192, 100, 1}});
    gBasic.fullScreenRadio = gBasic.rows[kScreenMode].buttons[1];
    label(g, UiText::BasicEffects, 16, 56, 104);
    radioRow(g, kEffects, 56, {{UiText::BasicYes, 120, 72, 1}, {UiText::BasicNo, 192, 72, 0}});
    label(g, UiText::BasicTextColour, 16, 80, 104);
    radioRow(g, kColours, 80, {{UiText::BasicYes, 120, 72, 1}, {UiText::BasicNo, 192, 72, 0}});
    label(g, UiText::BasicCursor, 16, 104, 104);
    radioRow(g, kCursor, 104,
             {{UiText::BasicHide, 120, 72, 1}, {UiText::BasicNoHide, 192, 72, 0}});
    label(g, UiText::BasicCaption, 16, 128, 104);
    gBasic.captionChecks[0] = createCheckBox(g, -1, uiText(UiText::BasicChapter), 120, 128, 72, 17);
    gBasic.captionChecks[1] = createCheckBox(g, -1, uiText(UiText::BasicPlayTime), 192, 128, 72,
                                             17);
}

void buildSkipGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::BasicGroupSkip), 312, 168, 297, 73, 0);
    label(g, UiText::BasicSkipWhich, 16, 24, 128);
    radioRow(g, kSkipAll, 24,
             {{UiText::BasicSkipAll, 152, 54, 1}, {UiText::BasicSkipRead, 208, 72, 0}});
    label(g, UiText::BasicSkipChoice, 16, 48, 128);
    radioRow(g, kEndSkip, 48, {{UiText::BasicDo, 152, 54, 1}, {UiText::BasicDont, 208, 72, 0}});
}

void buildBossGroup(HWND page) {
    HWND g = createGroupBox(page, uiText(UiText::BasicGroupBoss), 312, 248, 297, 137, 0);
    radioAt(g, kBoss, UiText::BasicBossTray, 16, 24, 201, 0);
    radioAt(g, kBoss, UiText::BasicBossNotepad, 16, 48, 201, 1);
    radioAt(g, kBoss, UiText::BasicBossQuit, 16, 72, 201, 2);
}

bool soundGroupEnabled() { return gBasic.soundGroup && IsWindowEnabled(gBasic.soundGroup); }

BOOL CALLBACK enableChild(HWND child, LPARAM on) {
    EnableWindow(child, on != 0);
    return TRUE;
}
}  // namespace

bool buildBasicPage(HWND page) {
    gBasic = BasicPageState();
    setTestName(gBasic.bgmTestName, getBgmName());
    setTestName(gBasic.envTestName, getEnvName());
    buildTextGroup(page);
    buildSoundGroup(page);
    buildDisplayGroup(page);
    buildSkipGroup(page);
    buildBossGroup(page);
    if (gBasic.soundGroup)
        gBasic.groupProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            gBasic.soundGroup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(soundGroupProc)));
    basicPageFromSettings();
    enableByDevice();
    return true;
}

void basicPageFromSettings() {
    BasicPageValues v = basicPageValuesFromSettings(UserSettings);
    setTrackBarPosition(gBasic.textSliders[0], v.unreadSpeed);
    setTrackBarPosition(gBasic.textSliders[1], v.readSpeed);
    setTrackBarPosition(gBasic.textSliders[2], v.autoSpeed);
    gBasic.rows[kFont].Check(v.font);
    gBasic.rows[kShadow].Check(v.shadow);
    if (soundGroupEnabled()) {
        for (int r = 0; r < 4; ++r) {
            setChecked(gBasic.soundChecks[r], v.soundOn[r]);
            setTrackBarPosition(gBasic.soundSliders[r], v.soundVolume[r]);
        }
        gBasic.rows[kFemale].Check(v.femaleVoices);
        gBasic.rows[kMale].Check(v.maleVoices);
        gBasic.rows[kStopVoice].Check(v.stopVoice);
    }
    gBasic.rows[kScreenMode].Check(v.fullScreen);
    gBasic.rows[kEffects].Check(v.effects);
    gBasic.rows[kColours].Check(v.textColours);
    gBasic.rows[kCursor].Check(v.hideCursor);
    setChecked(gBasic.captionChecks[0], v.captionChapter);
    setChecked(gBasic.captionChecks[1], v.captionPlayTime);
    gBasic.rows[kSkipAll].Check(v.skipAll);
    gBasic.rows[kEndSkip].Check(v.endSkip);
    gBasic.rows[kBoss].Check(v.bossKey);
}

void basicPageToSettings() {
    BasicPageValues v;
    v.unreadSpeed = trackBarPosition(gBasic.textSliders[0]);
    v.readSpeed = trackBarPosition(gBasic.textSliders[1]);
    v.autoSpeed = trackBarPosition(gBasic.textSliders[2]);
    v.font = gBasic.rows[kFont].Checked();
    v.shadow = gBasic.rows[kShadow].Checked();
    for (int r = 0; r < 4; ++r) {
        v.soundOn[r] = isChecked(gBasic.soundChecks[r]);
        v.soundVolume[r] = trackBarPosition(gBasic.soundSliders[r]);
    }
    v.femaleVoices = gBasic.rows[kFemale].Checked();
    v.maleVoices = gBasic.rows[kMale].Checked();
    v.stopVoice = gBasic.rows[kStopVoice].Checked();
    v.fullScreen = gBasic.rows[kScreenMode].Checked();
    v.effects = gBasic.rows[kEffects].Checked();
    v.textColours = gBasic.rows[kColours].Checked();
    v.hideCursor = gBasic.rows[kCursor].Checked();
    v.captionChapter = isChecked(gBasic.captionChecks[0]);
    v.captionPlayTime = isChecked(gBasic.captionChecks[1]);
    v.skipAll = gBasic.rows[kSkipAll].Checked();
    v.endSkip = gBasic.rows[kEndSkip].Checked();
    v.bossKey = gBasic.rows[kBoss].Checked();
    basicPageValuesToSettings(v, soundGroupEnabled(), UserSettings);
}

void enableByDevice() {
    if (gBasic.fullScreenRadio) EnableWindow(gBasic.fullScreenRadio, appDirectDrawAvailable());
    bool sound = isSoundAvailable();
    if (gBasic.soundGroup) {
        EnableWindow(gBasic.soundGroup, sound);
        EnumChildWindows(gBasic.soundGroup, enableChild, sound ? 1 : 0);
    }
    if (!sound) {
        for (int r = 0; r < 4; ++r) {
            setChecked(gBasic.soundChecks[r], false);
            setTrackBarPosition(gBasic.soundSliders[r], 0);
        }
    }
}

void forgetBasicPage() {
    // The group box gets its own procedure back for the rest of its destruction.
    if (gBasic.soundGroup && gBasic.groupProc && IsWindow(gBasic.soundGroup))
        SetWindowLongPtrA(gBasic.soundGroup, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(gBasic.groupProc));
    gBasic = BasicPageState();
}
