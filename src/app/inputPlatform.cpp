#include "app/inputPlatform.h"

#include <mmsystem.h>

#include "app/accelerators.h"
#include "base/clock.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "app/joystick.h"
#include "app/mainWindow.h"

namespace {
HACCEL gAccelTables[kAccelTableCount] = {};
JoystickState gJoystick;

bool isMinimised(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    return window && GetWindowPlacement(window, &wp) && wp.showCmd == SW_SHOWMINIMIZED;
}

bool dispatchPending(bool withTables, uint8_t inputMode) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return false;
        if (withTables && translateAccelerators(inputMode, gMainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

bool platformPoll(uint8_t inputMode, bool sleep) {
    if (sleep || !gAppActive) {
        if (isMinimised(gMainWindow)) WaitMessage();
        else Sleep(1);
    }
    if (!dispatchPending(true, inputMode)) return false;
    if (gAppActive) {
        gMouseDown = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
        POINT p;
        if (gMainWindow && GetCursorPos(&p) && ScreenToClient(gMainWindow, &p))
            gMousePos = {p.x, p.y};
        if (gCommand == kCmdNone) gCommand = pollJoystick();
    }
    return true;
}

// The waiting loops' wait: until a message arrives (also one already queued) or the time passes.
void platformWait(uint32_t ms) {
    // A joystick sends no messages: while one answers, it is read again within a frame.
    if (!gJoystick.readFailed && ms > frameIntervalMs()) ms = frameIntervalMs();
    MsgWaitForMultipleObjectsEx(0, nullptr, platformRealSpanMs(ms), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// A moving picture is presented at most once per refresh of the display.
void takeDisplayRefresh() {
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    const int hz = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
    // 0 and 1 mean the hardware's default rate, which is not told.
    if (hz > 1 && hz <= 1000) setFrameIntervalMs(static_cast<uint32_t>(1000 / hz));
}

bool platformPumpAll() { return dispatchPending(false, 0); }

bool platformPumpOne() {
    MSG msg;
    BOOL r = GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0) return false;  // WM_QUIT
    if (r == -1) {
        // No message was retrieved: nothing to dispatch.
        Sleep(1);
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

bool platformSkipKeyHeld() { return gAppActive && (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

bool readJoystick(JoyReading& out) {
    JOYINFO info = {};
    // Any error, not only "unplugged", means no joystick.
    if (joyGetPos(JOYSTICKID1, &info) != JOYERR_NOERROR) return false;
    out.x = info.wXpos;
    out.y = info.wYpos;
    out.buttons = info.wButtons;
    return true;
}

uint8_t platformJoystick() { return joystickPoll(gJoystick, currentTimeMs(), readJoystick); }

const InputBackend kPlatformBackend = {platformPoll, platformPumpAll, platformPumpOne,
                                       platformSkipKeyHeld, platformJoystick};
}  // namespace

void installPlatformInput() {
    setInputBackend(&kPlatformBackend);
    setInputWait(platformWait);
    takeDisplayRefresh();
}

bool createAccelerators() {
    destroyAccelerators();
    bool all = true;
    for (int t = 0; t < kAccelTableCount; ++t) {
        AccelTableData data = acceleratorTable(static_cast<AccelTableId>(t));
        ACCEL entries[32];
        int n = data.count < 32 ? data.count : 32;
        for (int i = 0; i < n; ++i) {
            entries[i].fVirt = data.entries[i].flags;
            entries[i].key = data.entries[i].key;
            entries[i].cmd = data.entries[i].command;
        }
        gAccelTables[t] = CreateAcceleratorTableA(entries, n);
        if (!gAccelTables[t]) all = false;
    }
    return all;
}

void destroyAccelerators() {
    for (HACCEL& table : gAccelTables) {
        if (table) DestroyAcceleratorTable(table);
        table = nullptr;
    }
}

bool translateAccelerators(uint8_t inputMode, HWND window, MSG* message) {
    if (!window || !message) return false;
    AccelTableId tables[3];
    int n = acceleratorTablesForMode(inputMode, tables);
    for (int i = 0; i < n; ++i) {
        HACCEL table = gAccelTables[tables[i]];
        if (table && TranslateAcceleratorA(window, table, message)) return true;
    }
    return false;
}
