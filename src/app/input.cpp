#include "app/input.h"

#include <windows.h>

namespace {
bool gQuitSeen = false;
}

bool pumpMessages() {
    MSG msg;
    while (!gQuitSeen && PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            gQuitSeen = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return !gQuitSeen;
}
void createAccelerators() {}
void destroyAccelerators() {}
