// The system commands that the waiting loops of reading and choosing run in place.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <cstring>

#include "base/flowHooks.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/appHooks.h"
#include "base/present.h"
#include "base/uiText.h"
#include "presentation/backlog.h"
#include "presentation/choiceScreens.h"
#include "presentation/msgDisplay.h"
#include "presentation/systemCommands.h"
#include "presentation/screens/configDialog.h"
#include "presentation/screens/saveSlots.h"
#include "scenario/anime/composition.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"

// The memo goes in with the save itself: a failed save leaves the old slot 0 as it was.
bool quickSave() { return saveGameWithMemo(0, uiText(UiText::QuickSaveMemo)); }

namespace {

// The window hidden until any command: the message window is not drawn meanwhile, and the command
// that brings it back does nothing else.
void hideWindow() {
    cFramePacer pacer;
    while (pacer.Poll(kInputScreen, true)) {
        if (getCommand() != kCmdNone) break;
        // The scene alone, drawn when it changes.
        pacer.BeginFrame();
        paceScene(pacer);
        pacer.PresentIfDue(updateScreen);
    }
}
}  // namespace

bool handleSystemCommand(uint8_t inputMode) {
    if (MsgWindowMode == kModeSystem) return false;
    mSpots::SetButtonMode(0);
    while (uint8_t command = getCommand()) {
        clearCommand();
        if (getVariable(uiText(UiText::VarSceneReplay)) == 0) {
            switch (command) {
                case kCmdQuickSave:
                    quickSave();
                    clearCommand();
                    return false;
                case kCmdQuickLoad:
                    clearCommand();
                    return loadGame(0);
                case kCmdSaveScreen:
                    runSaveLoadScreen(true);
                    clearCommand();
                    return false;
                case kCmdLoadScreen:
                    if (runSaveLoadScreen(false)) return true;
                    clearCommand();
                    return false;
                default:
                    break;
            }
        }
        switch (command) {
            case kCmdPopupMenu:
                appShowPopupMenu();
                pollInput(inputMode, false);
                break;
            case kCmdHideWindow:
                hideWindow();
                clearCommand();
                return false;
            case kCmdBacklog:
                mLogBox::RunScreen();
                clearCommand();
                return false;
            case kCmdTitle:
                abortScript();
                return true;
            case kCmdConfig:
                runConfigDialog();
                clearCommand();
                return false;
            case kCmdFlowChart:
                flowChartCommand();
                pollInput(inputMode, false);
                break;
            case kCmdBossKey:
                appBossKey();
                pollInput(inputMode, false);
                break;
            case kCmdExit:
                if (appRequestQuit()) return true;
                clearCommand();  // the player chose to stay: the wait goes on
                return false;
            case kCmdToggleScreen:
                appToggleFullScreen();
                clearCommand();
                return false;
            case kCmdWindowed:
                appSetFullScreen(false);
                clearCommand();
                return false;
            case kCmdFullScreen:
                appSetFullScreen(true);
                clearCommand();
                return false;
            default:
                return false;
        }
    }
    return false;
}
