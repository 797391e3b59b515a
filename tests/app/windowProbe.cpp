// Test program: the real main window, key tables and input latch without the rest of the game.
//   windowProbe <width> <height> <input mode> [full]
// It makes the screen canvases at that size, fills the back buffer with a test pattern (see
// patternPixel), shows the window and reports every command that pollInput latches on stdout:
//   ready <client width> <client height>
//   command <id> readmode <mode> index <i> mouse <x> <y>
//   skipping <0|1>                      (each change of isSkipping, e.g. Ctrl held)
//   readmode <mode>                     (each change of the read mode: skip, auto, hidden ...)
// and ends (exit code 0) when the window has been closed. With "full" it also brings up COM and
// DirectDraw, switches to full screen at once and on every command 26 (Alt+Enter), reporting
//   directdraw <0|1>
//   fullscreen <switched 0|1> <gIsFullScreen> <settings byte>
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/input.h"
#include "app/inputPlatform.h"
#include "app/mainWindow.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "graphics/screen.h"

namespace {
// Colour of pixel (x, y): red grows with x, green with y, blue marks every fourth column.
void patternPixel(int x, int y, uint8_t* bgr) {
    bgr[0] = (x % 4 == 0) ? 255 : 0;
    bgr[1] = static_cast<uint8_t>(y & 0xFF);
    bgr[2] = static_cast<uint8_t>(x & 0xFF);
}

void fillPattern() {
    if (!gBackBuffer.HasPixels()) return;
    for (int y = 0; y < gBackBuffer.height; ++y)
        for (int x = 0; x < gBackBuffer.width; ++x)
            patternPixel(x, y, gBackBuffer.pixels + (static_cast<size_t>(y) * gBackBuffer.width + x) * 3);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    int width = 640, height = 480, mode = 0;
    std::sscanf(commandLine, "%d %d %d", &width, &height, &mode);
    gScreenWidth = width;
    gScreenHeight = height;
    setDefaultSettings();
    if (!createMainWindow(instance)) return 1;
    createScreenCanvases();
    fillPattern();
    showMainWindow();
    createAccelerators();
    const bool full = std::strstr(commandLine, "full") != nullptr;
    auto reportSwitch = [](bool switched) {
        std::printf("fullscreen %d %d %d\n", switched ? 1 : 0, gIsFullScreen, UserSettings.fullScreen);
        std::fflush(stdout);
    };
    if (full) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        std::printf("directdraw %d\n", initDirectDraw() ? 1 : 0);
        reportSwitch(setFullScreen(true));
        presentScreen();
    }
    RECT client = {};
    GetClientRect(gMainWindow, &client);
    std::printf("ready %ld %ld\n", static_cast<long>(client.right), static_cast<long>(client.bottom));
    std::fflush(stdout);

    DWORD lastPresent = GetTickCount();
    bool skipping = false;
    uint8_t readMode = gReadMode;
    while (pollInput(static_cast<uint8_t>(mode), true)) {
        if (isSkipping() != skipping) {
            skipping = !skipping;
            std::printf("skipping %d\n", skipping ? 1 : 0);
            std::fflush(stdout);
        }
        uint8_t command = getCommand();
        if (command) {
            std::printf("command %d readmode %d index %d mouse %d %d\n", command, gReadMode,
                        getSelectedIndex(), gMousePos.x, gMousePos.y);
            std::fflush(stdout);
            clearCommand();
            if (full && command == 26) {
                reportSwitch(toggleFullScreen());
                presentScreen();
            }
        }
        if (gReadMode != readMode) {
            readMode = gReadMode;
            std::printf("readmode %d\n", readMode);
            std::fflush(stdout);
        }
        if (GetTickCount() - lastPresent > 200) {
            presentScreen();
            lastPresent = GetTickCount();
        }
    }
    destroyAccelerators();
    if (full) {
        releaseDirectDraw();
        CoUninitialize();
    }
    std::printf("quit\n");
    std::fflush(stdout);
    return 0;
}
