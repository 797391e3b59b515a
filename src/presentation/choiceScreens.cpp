// The choice screen: the loop that waits for an option.
#include "presentation/choiceScreens.h"

#include "base/displayMode.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/present.h"
#include "base/settings.h"
#include "presentation/msgBox.h"
#include "presentation/msgDisplay.h"
#include "scenario/anime/composition.h"
#include "scenario/scriptState.h"

int32_t runChoice() {
    const bool skipAtEntry = isSkipping();
    if (MsgWindowMode != kModeSystem) setMsgWindowMode(kModeAdv);
    const int mode = MsgWindowMode == kModeSystem ? kButtonsChoiceOnly : kButtonsChoice;
    mSpots::SetButtonMode(mode);
    clearCommand();

    int32_t result = 0;
    // A frame is drawn when the scene or a button's state changed; between them the loop waits
    // for input.
    cFramePacer pacer;
    while (pollInput(kInputMenu, true)) {
        bool alive = true;
        // Back from a command: what it showed is drawn over.
        pacer.Invalidate();
        while (getCommand() == kCmdNone) {
            if (!pacer.Poll(kInputMenu, true)) {
                alive = false;
                break;
            }
            pacer.BeginFrame();
            paceScene(pacer);
            if (!gMapChoice) gMsgBox.PaceFrame(pacer, false);
            mSpots::PaceButtons(pacer);
            pacer.PresentIfDue([] {
                updateScreen();
                if (!gMapChoice) gMsgBox.Draw(false);
                mSpots::UpdateButtons();
            });
        }
        if (!alive) break;

        uint8_t command = getCommand();
        if (command == kCmdOk) {
            int32_t index = getSelectedIndex();
            clearCommand();
            // OK from a key or the pad: the click is replayed where the cursor stands.
            if (index < 1) {
                mSpots::PressButtons();
                uint8_t scratch = kCmdNone;
                mSpots::ReleaseButtons(scratch, index);
            }
            if (index >= 1) {
                result = index;
                break;
            }
        }
        mSpots::NavigateButtons(command);
        // A system command ends the choice only when it unwound the game or the program quits;
        // an exit the player declined keeps it.
        if (handleSystemCommand(kInputMenu) && (scriptAbortFlag || gQuitReceived)) break;
        clearCommand();
        mSpots::SetButtonMode(mode);
    }

    mSpots::ClearChoices();
    clearCommand();
    if (skipAtEntry && !UserSettings.endSkipAfterChoice) setSkipMode();
    return result;
}
