#include "base/input.h"

#include "base/moduleState.h"
#include "base/uiText.h"
#include "base/settings.h"

InputState gInputState;
uint8_t& gCommand = gInputState.command;
int32_t& gSelectedIndex = gInputState.selectedIndex;
uint8_t& gReadMode = gInputState.readMode;
uint8_t& gQuitReceived = gInputState.quitReceived;
uint8_t& gMouseDown = gInputState.mouseDown;
MousePoint& gMousePos = gInputState.mousePos;

namespace {
const cModuleReset kReset(0, [] { gInputState = InputState(); });

const InputBackend* gBackend = nullptr;
InputWaitFn gWait = nullptr;
ButtonPressFn gButtonPress = nullptr;
ButtonReleaseFn gButtonRelease = nullptr;

// Message numbers the latch reads.
constexpr uint32_t kWmCommand = 0x0111;
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmLButtonUp = 0x0202;
constexpr uint32_t kWmRButtonUp = 0x0205;
constexpr uint32_t kWmMButtonUp = 0x0208;
constexpr uint32_t kWmMouseWheel = 0x020A;

bool quitTaken() {
    gQuitReceived = 1;
    return false;
}
}  // namespace

void setInputBackend(const InputBackend* backend) { gBackend = backend; }
const InputBackend* getInputBackend() { return gBackend; }

void setButtonHandlers(ButtonPressFn press, ButtonReleaseFn release) {
    gButtonPress = press;
    gButtonRelease = release;
}

bool pollInput(uint8_t inputMode, bool sleep) {
    if (gQuitReceived) return false;
    if (gBackend && gBackend->poll && !gBackend->poll(inputMode, sleep)) return quitTaken();
    remapCommand(inputMode, gCommand);
    readModeStep(inputMode, gReadMode, gCommand);
    return true;
}

void setInputWait(InputWaitFn wait) { gWait = wait; }

bool waitForInput(uint32_t ms) {
    if (ms == 0 || !gWait) return false;
    gWait(ms);
    return true;
}

bool pumpMessages() {
    if (gQuitReceived) return false;
    if (gBackend && gBackend->pumpAll && !gBackend->pumpAll()) return quitTaken();
    return true;
}

bool pumpMessageBlocking() {
    if (gQuitReceived) return false;
    if (gBackend && gBackend->pumpOne && !gBackend->pumpOne()) return quitTaken();
    return !gQuitReceived;
}

uint8_t getCommand() { return gCommand; }
int32_t getSelectedIndex() { return gSelectedIndex; }

void clearCommand() {
    gCommand = kCmdNone;
    gSelectedIndex = -1;
}

void setCommand(uint8_t command, int32_t selectedIndex) {
    gCommand = command;
    gSelectedIndex = selectedIndex;
}

bool isReadModeNormal() { return gReadMode == kReadNormal; }

bool isSkipping() {
    if (gBackend && gBackend->skipKeyHeld && gBackend->skipKeyHeld()) {
        gReadMode = kReadNormal;
        return true;
    }
    return gReadMode == kReadSkip;
}

bool isAutoMode() { return gReadMode == kReadAuto; }

void setForcedSkip(bool on) { gReadMode = on ? kReadSkip : kReadNormal; }

void setSkipMode() { gReadMode = kReadSkip; }

bool mouseMessageToCommand(uint32_t message, uint64_t wParam, int64_t) {
    switch (message) {
    case kWmLButtonDown:
        if (!(gButtonPress && gButtonPress())) gCommand = kCmdClick;
        return true;
    case kWmLButtonUp:
        if (gButtonRelease) gButtonRelease(gCommand, gSelectedIndex);
        return true;
    case kWmRButtonUp:
        gCommand = kRawRightButton;
        return true;
    case kWmMButtonUp:
        gCommand = kRawMiddleButton;
        return true;
    case kWmMouseWheel: {
        int16_t delta = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
        gCommand = delta > 0 ? kRawWheelUp : kRawWheelDown;
        return true;
    }
    case kWmCommand: {
        // High word 1: an accelerator; 0: a menu item. Other notifications latch nothing.
        uint32_t high = static_cast<uint32_t>(wParam >> 16);
        if (high <= 1) gCommand = static_cast<uint8_t>(wParam & 0xFF);
        return true;
    }
    default:
        return false;
    }
}

void remapCommand(uint8_t inputMode, uint8_t& command, const UserSettingsBlock& settings) {
    if (command == kCmdNone) return;
    if (inputMode == kInputScreen) {
        switch (command) {
        case kRawRightButton:
        case kRawMiddleButton: command = kCmdCancel; break;
        case kRawWheelUp: command = kCmdPageUp; break;
        case kRawWheelDown: command = kCmdPageDown; break;
        case kRawSpace: command = kCmdOk; break;
        default: break;
        }
    }
    switch (command) {
    case kRawRightButton: command = settings.rightButtonAction; break;
    case kRawMiddleButton: command = settings.middleButtonAction; break;
    case kRawWheelUp: command = settings.wheelUpAction; break;
    case kRawWheelDown: command = settings.wheelDownAction; break;
    case kRawSpace: command = settings.spaceAction; break;
    default:
        if (command >= kRawF1 && command <= kRawF12)
            command = settings.functionKeyActions[command - kRawF1];
        else if (command >= kRawPad1 && command <= kRawPad8)
            command = settings.joystickActions[command - kRawPad1];
        break;
    }
    // Unsigned: an action byte of 128 or more from a damaged settings file is no command either.
    if (command > kCmdLastAction) command = kCmdNone;
}

void remapCommand(uint8_t inputMode, uint8_t& command) {
    remapCommand(inputMode, command, UserSettings);
}

bool readModeStep(uint8_t inputMode, uint8_t& readMode, uint8_t& command) {
    if (inputMode != kInputReading) readMode = kReadNormal;
    switch (command) {
    case kCmdHideWindow: readMode = kReadHidden; return true;
    case kCmdSkipMode: readMode = kReadSkip; return true;
    case kCmdAutoMode: readMode = kReadAuto; return true;
    default: break;
    }
    if (readMode != kReadNormal && command != kCmdNone) {
        readMode = kReadNormal;
        command = kCmdNone;
    }
    return false;
}

const char* getActionName(int id) {
    if (id < 0 || id > kCmdLastAction) return "";
    return uiText(static_cast<UiText>(static_cast<int>(UiText::Action0) + id));
}

uint8_t pollJoystick() {
    if (!gBackend || !gBackend->joystick) return kCmdNone;
    return gBackend->joystick();
}
