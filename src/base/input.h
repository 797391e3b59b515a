// Input: the message pumps, the command latch that all mouse, key, joystick and menu input ends
// in, the remapping of raw codes to actions, and the read modes (skip, auto, window hidden).
//
// The latch, the read modes and the remapping only compute; the platform side (message queue,
// key tables, mouse state, joystick) is a backend that the main window installs, and tests may
// install their own to feed commands to waiting loops without a window.
#pragma once
#include <cstdint>

#include "base/commandId.h"

struct UserSettingsBlock;

struct MousePoint {
    int32_t x;
    int32_t y;
};

// The state of the input layer.
struct InputState {
    uint8_t command = kCmdNone;      // the latched CommandId; 0 none
    int32_t selectedIndex = -1;      // index delivered with a button command; -1 none
    uint8_t readMode = kReadNormal;  // ReadModeValue
    uint8_t quitReceived = 0;        // WM_QUIT has been seen; never cleared but by the reset
    uint8_t mouseDown = 0;           // left button held at the last poll
    MousePoint mousePos = {0, 0};    // last cursor position in client coordinates
};
extern InputState gInputState;
// Its parts under the names the rest of the program reads and writes.
extern uint8_t& gCommand;
extern int32_t& gSelectedIndex;
extern uint8_t& gReadMode;
extern uint8_t& gQuitReceived;
extern uint8_t& gMouseDown;
extern MousePoint& gMousePos;

// One input step of a waiting loop: sleeps when asked or inactive, dispatches pending messages
// through the key tables of the mode, reads the mouse and the joystick, remaps the latched code
// and updates the read mode. False once WM_QUIT has been seen.
bool pollInput(uint8_t inputMode, bool sleep);
// Waits until an input message arrives or ms milliseconds pass (the waiting loops' pacing, in
// place of a fixed sleep), through the installed wait; true when it waited (false for 0 ms or
// without a wait).
bool waitForInput(uint32_t ms);
// Dispatches all pending messages without key tables; false once WM_QUIT has been seen.
bool pumpMessages();
// Waits for one message and dispatches it without key tables; false once WM_QUIT has been seen.
bool pumpMessageBlocking();

uint8_t getCommand();
int32_t getSelectedIndex();
// Latch := 0, index := -1.
void clearCommand();
// Latches a command (a newer one overwrites one not yet consumed).
void setCommand(uint8_t command, int32_t selectedIndex = -1);

bool isReadModeNormal();
// Ctrl held while the application is active counts as skipping and resets the read mode to
// normal; otherwise the read mode is skip.
bool isSkipping();
bool isAutoMode();
// false ends skipping (the read mode goes back to normal); true sets skip mode.
void setForcedSkip(bool on);
void setSkipMode();

// Mouse messages and WM_COMMAND to the latch (message numbers and parameters as the window
// procedure receives them); true when the message was taken.
bool mouseMessageToCommand(uint32_t message, uint64_t wParam, int64_t lParam);

// Raw codes to actions: the fixed screen-mode codes, then the settings' action bytes; a result
// beyond the last action becomes 0.
void remapCommand(uint8_t inputMode, uint8_t& command, const UserSettingsBlock& settings);
void remapCommand(uint8_t inputMode, uint8_t& command);  // through UserSettings

// The read-mode step of pollInput over the given state: an input mode other than reading ends
// any read mode; 12, 15 and 16 set hidden, skip and auto (staying latched; true returned); any
// other command ends skip, auto or hidden and is consumed by it.
bool readModeStep(uint8_t inputMode, uint8_t& readMode, uint8_t& command);

// Display name of an action 0 to 28 in the configuration's text set; "" outside.
const char* getActionName(int id);

// One joystick step (see joystick.h); 0 without a joystick.
uint8_t pollJoystick();

// The platform side of input. Every member may be null.
struct InputBackend {
    // Steps of pollInput that touch the platform: sleep or wait, dispatch pending messages through
    // the key tables, mouse state, joystick into an empty latch. False when WM_QUIT was taken.
    bool (*poll)(uint8_t inputMode, bool sleep);
    // All pending messages; false when WM_QUIT was taken.
    bool (*pumpAll)();
    // One message, waiting for it; false when WM_QUIT was taken.
    bool (*pumpOne)();
    // Ctrl is held and the application is active.
    bool (*skipKeyHeld)();
    // One joystick step.
    uint8_t (*joystick)();
};
// Installs the backend (null: none, so pumps only report the quit state). The backend object must
// outlive its use.
void setInputBackend(const InputBackend* backend);
const InputBackend* getInputBackend();

// The wait of waitForInput: the platform waits on its message queue; tests may move their clock.
// Null: no wait.
using InputWaitFn = void (*)(uint32_t ms);
void setInputWait(InputWaitFn wait);

// The button tables' handlers of the left button: press (true when a button took it) and release
// (may latch the released button's command and index; true when it did).
using ButtonPressFn = bool (*)();
using ButtonReleaseFn = bool (*)(uint8_t& command, int32_t& selectedIndex);
void setButtonHandlers(ButtonPressFn press, ButtonReleaseFn release);
