#include "presentation/msgDisplay.h"

#include "base/clock.h"
#include "base/framePacer.h"
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

// The scene with the message window over it, without the prompt while typing.
void drawTyping() {
    updateScreen();
    gMsgBox.Draw(false);
}

// What a frame of the message shows: the scene and the message window.
void paceMessage(cFramePacer& pacer, bool prompt) {
    paceScene(pacer);
    gMsgBox.PaceFrame(pacer, prompt);
}

// A system command the loop ran may have shown another screen over this one.
bool runSystemCommand(cFramePacer& pacer, uint8_t inputMode) {
    const bool any = getCommand() != kCmdNone;
    const bool stop = handleSystemCommand(inputMode);
    if (any) pacer.Invalidate();
    return stop;
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

    cFramePacer typing;
    typing.BeginFrame();
    paceMessage(typing, false);
    typing.PresentIfDue(drawTyping);  // the first frame is always due
    uint32_t start = currentTimeMs();
    // A frame is presented when a character was typed (or the scene changed); between them the
    // loop waits for the next character's time or for input.
    while (typing.Poll(kInputReading, false)) {
        int32_t target = typingTarget(elapsedMs(start, currentTimeMs()), msPerUnit);
        if (isSkipping() || advancesMessage(getCommand())) target = -1;
        bool more = gMsgBox.DrawUpTo(target);
        typing.BeginFrame();
        paceMessage(typing, false);
        uint32_t due = 0;
        if (more && typingDueAt(start, gMsgBox.units, msPerUnit, due)) typing.DueAt(due);
        typing.PresentIfDue(drawTyping);
        if (!more) break;
        if (runSystemCommand(typing, kInputReading)) return true;
    }
    clearCommand();
    if (isSkipping()) return true;

    const bool voiceAtEnd = isVoicePlaying();
    start = currentTimeMs();
    const uint32_t delay = autoModeDelayMs(UserSettings.autoSpeed);
    mSpots::SetButtonMode(1);
    // The prompt's frame changes every 128 ms; only then, or when the scene, the bar or auto mode's
    // time asks for it, is a frame drawn. Input ends the wait between frames at once.
    cFramePacer waiting;
    while (pollInput(kInputReading, true)) {
        if (isSkipping()) return true;
        // Back from a command: what it showed is drawn over.
        waiting.Invalidate();
        while (getCommand() == kCmdNone) {
            if (!waiting.Poll(kInputReading, true)) break;
            if (isSkipping()) return true;
            waiting.BeginFrame();
            if (isAutoMode()) {
                if (voiceAtEnd) {
                    if (!isVoicePlaying()) return true;
                    waiting.PollEveryFrame();  // the voice's end sends no message
                } else if (elapsedMs(start, currentTimeMs()) > delay) {
                    return true;
                } else {
                    waiting.DueAt(start + delay + 1);
                }
            }
            paceMessage(waiting, true);
            mSpots::PaceButtons(waiting);
            waiting.PresentIfDue([] {
                updateScreen();
                gMsgBox.Draw(true);
                mSpots::UpdateButtons();
            });
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

namespace {
// One frame of a timed wait: the scene alone, when it changed.
void sceneFrame(cFramePacer& pacer) {
    paceScene(pacer);
    pacer.PresentIfDue(updateScreen);
}
}  // namespace

void waitClick(int32_t ms) {
    cFramePacer pacer;
    pacer.BeginFrame();
    sceneFrame(pacer);
    if (!UserSettings.screenEffects && MsgWindowMode != kModeSystem && MsgWindowMode != kModeDemo)
        return;
    const uint8_t inputMode = MsgWindowMode == kModeSystem ? kInputScreen : kInputReading;
    clearCommand();
    if (ms < 1) {
        while (pacer.Poll(inputMode, true) && !isSkipping() && !isAutoMode() && getCommand() == kCmdNone) {
            pacer.BeginFrame();
            sceneFrame(pacer);
        }
    } else {
        const uint32_t start = currentTimeMs();
        while (pacer.Poll(inputMode, true) && !isSkipping() &&
               elapsedMs(start, currentTimeMs()) <= static_cast<uint32_t>(ms)) {
            pacer.BeginFrame();
            pacer.DueAt(start + static_cast<uint32_t>(ms) + 1);
            sceneFrame(pacer);
        }
    }
    clearCommand();
}

bool isVoiceEnabled(const char* voiceFile) { return voiceGroupEnabled(voiceFile); }
