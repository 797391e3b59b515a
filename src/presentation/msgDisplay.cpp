#include "presentation/msgDisplay.h"

#include "base/clock.h"
#include "base/input.h"
#include "base/moduleOrder.h"
#include "base/present.h"
#include "base/settings.h"
#include "graphics/text/charImage.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "presentation/choiceScreens.h"
#include "presentation/msgBox.h"
#include "presentation/msgSpeakers.h"
#include "presentation/msgTiming.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/scriptPresenter.h"

// The message window's own rasteriser, apart from the text pens' one.
cCharImage gMsgCharImage MODULE_OBJECT(kOrderMsgCharImage);

namespace {
bool advancesMessage(uint8_t command) {
    return command == kCmdClick || command == kCmdOk || command == kCmdAdvance;
}

void presentMessage(bool prompt) {
    updateScreen();
    gMsgBox.Draw(prompt);
    presentScreen();
}
}  // namespace

void installScriptPresenter() {
    static const ScriptPresenter presenter = {
        showMessageLine, setMsgWindowMode, redrawMsgWindow, mLogBox::MarkPosition,
        beginChoice,     addChoiceOption,  runChoice,
    };
    setScriptPresenter(&presenter);
}

bool showMessageLine(const char* text, bool read) {
    animeMessageHook();
    mSpots::SetButtonMode(0);
    static char name[kSpeakerNameSize];
    const char* message = splitSpeaker(text, name);
    updateScreen();
    if (MsgWindowMode == kModeAdv || MsgWindowMode == kModeNovel) {
        displayMessage(name, message, MsgWindowMode == kModeNovel, read);
        if (UserSettings.stopVoiceOnPage) stopVoice();
    }
    return true;
}

bool displayMessage(const char* name, const char* text, bool novel, bool read) {
    clearCommand();
    gMsgBox.SetText(text);
    vstring plain;
    gMsgBox.GetPlainText(plain);
    mLogBox::AddEntry(name, plain.c_str());
    gMsgBox.SetSpeaker(name ? name : "", novel);
    const uint32_t msPerUnit = textSpeedMsPerUnit(read ? UserSettings.readTextSpeed : UserSettings.unreadTextSpeed);

    presentMessage(false);
    uint32_t start = currentTimeMs();
    while (pollInput(kInputReading, false)) {
        int32_t target = typingTarget(elapsedMs(start, currentTimeMs()), msPerUnit);
        if (isSkipping() || advancesMessage(getCommand())) target = -1;
        bool more = gMsgBox.DrawUpTo(target);
        presentMessage(false);
        if (!more) break;
        if (handleSystemCommand(kInputReading)) return true;
    }
    clearCommand();
    if (isSkipping()) return true;

    const bool voiceAtEnd = isVoicePlaying();
    start = currentTimeMs();
    const uint32_t delay = autoModeDelayMs(UserSettings.autoSpeed);
    mSpots::SetButtonMode(1);
    while (pollInput(kInputReading, true)) {
        if (isSkipping()) return true;
        while (getCommand() == kCmdNone) {
            if (!pollInput(kInputReading, true)) break;
            if (isSkipping()) return true;
            if (isAutoMode()) {
                if (voiceAtEnd) {
                    if (!isVoicePlaying()) return true;
                } else if (elapsedMs(start, currentTimeMs()) > delay) {
                    return true;
                }
            }
            updateScreen();
            gMsgBox.Draw(true);
            mSpots::UpdateButtons();
            presentScreen();
        }
        uint8_t command = getCommand();
        if (advancesMessage(command)) return true;
        if (!isAutoMode()) {
            if (handleSystemCommand(kInputReading)) return true;
            mSpots::SetButtonMode(1);
        } else {
            // The auto-mode command that started auto mode during this wait stays latched; it is
            // consumed here so that the wait goes on timing the message.
            clearCommand();
        }
    }
    return true;
}

void setMsgWindowMode(int mode) {
    if (mode < 0 || mode > kModeLast) return;
    MsgWindowMode = static_cast<uint8_t>(mode);
    gMsgBox.SetNovelLayout(isNovelMode(MsgWindowMode));
    redrawMsgWindow();
}

void redrawMsgWindow() {
    if (UserSettings.stopVoiceOnPage) stopVoice();
    gMsgBox.Clear();
}

void initMsgWindow() {
    static bool ready = false;
    if (!ready) {
        initTextRendering();
        setMsgGlyphs(systemGlyphSource(gMsgCharImage));
        gMsgBox.CreateFonts();
        ready = true;
    }
    loadMessageContent();
    setMsgWindowMode(kModeAdv);
}

void waitClick(int32_t ms) {
    updateScreen();
    presentScreen();
    if (!UserSettings.screenEffects && MsgWindowMode != kModeSystem && MsgWindowMode != kModeDemo)
        return;
    const uint8_t inputMode = MsgWindowMode == kModeSystem ? kInputScreen : kInputReading;
    clearCommand();
    if (ms < 1) {
        while (pollInput(inputMode, true) && !isSkipping() && !isAutoMode() && getCommand() == kCmdNone) {
            updateScreen();
            presentScreen();
        }
    } else {
        const uint32_t start = currentTimeMs();
        while (pollInput(inputMode, true) && !isSkipping() &&
               elapsedMs(start, currentTimeMs()) <= static_cast<uint32_t>(ms)) {
            updateScreen();
            presentScreen();
        }
    }
    clearCommand();
}

bool isVoiceEnabled(const char* voiceFile) { return voiceGroupEnabled(voiceFile); }
