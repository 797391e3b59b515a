// The entry point: single-instance guard, start-up, the outer loop and shutdown.
#include <windows.h>

#include "base/input.h"
#include "app/mainWindow.h"
#include "app/startup.h"
#include "config/registry.h"
#include "config/systemInfo.h"
#include "files/archiveIndex.h"
#include "media/sound.h"
#include "scenario/scriptState.h"

// Window-enumeration callback of the single-instance guard: finds the running instance's main
// window by its property, restores it and brings it to the front.
BOOL CALLBACK activateExistingInstance(HWND window, LPARAM name) {
    if (!GetPropA(window, reinterpret_cast<const char*>(name))) return TRUE;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(GetLastActivePopup(window));
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    beginPlayTime();
    initDataArchives();
    mSystemParam::loadConfig();
    loadSystemInfo();

    const char* productId = getProductID();
    HANDLE mutex = CreateMutexA(nullptr, TRUE, *productId ? productId : nullptr);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        if (*productId)
            EnumWindows(activateExistingInstance, reinterpret_cast<LPARAM>(productId));
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return 0;
    }

    if (!createMainWindow(instance)) return 0;

    if (initApplication(instance)) {
        abortScript();
        while (pumpMessages()) {
            stopSE();
            stopVoice();
            if (!runGameScript()) break;
        }
    }

    shutdownApplication();
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    return 0;
}
