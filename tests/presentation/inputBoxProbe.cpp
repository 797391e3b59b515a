// Test program: the real main window with the text-input box over it.
//   inputBoxProbe <maximum length> [initial text]
// It shows an 800 by 600 window, reports "waiting" and runs a reading loop until a command is
// latched (Return, say: the window has the keyboard focus by then); then it opens the box at
// (100, 200), 400 by 24, reports "open", and once the box has closed reports
//   result <the buffer in hex>
// then every command latched within the next second (a click that closed the box must fire no
// button, see below), "done", and ends. The window holds one button: "img" is not read; a
// button of its own covers (500..599, 300..339) and latches OK with index 7 when clicked.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/inputPlatform.h"
#include "app/mainWindow.h"
#include "base/clock.h"
#include "base/input.h"
#include "base/settings.h"
#include "config/systemInfo.h"
#include "graphics/screen.h"
#include "presentation/inputBox.h"
#include "presentation/spots.h"

namespace {
bool fakeButtonImage(cSprite& sprite, const char*) {
    if (!sprite.Create(3, 100, 40)) return false;
    std::memset(sprite.pixels, 0x80, static_cast<size_t>(sprite.ByteCount()));
    return true;
}

void report(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    int maxLength = 256;
    std::sscanf(commandLine, "%d", &maxLength);
    char buffer[1024] = {};
    const char* initial = std::strchr(commandLine, ' ');
    if (initial) std::strncpy(buffer, initial + 1, sizeof buffer - 1);
    if (maxLength < 1 || maxLength > static_cast<int>(sizeof buffer)) maxLength = 256;

    gScreenWidth = 800;
    gScreenHeight = 600;
    setDefaultSettings();
    installPlatformInput();
    installButtonPlatform();
    setSpotImageLoader(fakeButtonImage);
    if (!createMainWindow(instance)) return 1;
    createScreenCanvases();
    showMainWindow();
    createAccelerators();
    gScreenSpots.Add(1, 7, "button.png", 500, 300);
    mSpots::SetButtonMode(kButtonsScreen);

    report("waiting");
    while (pollInput(kInputReading, true) && getCommand() == kCmdNone) {
    }
    clearCommand();
    report("open");
    inputTextBox(buffer, 100, 200, 400, 24, 20, maxLength, 0x00FFFFFF, 0x006D000A);
    std::printf("result ");
    for (const char* p = buffer; *p; ++p) std::printf("%02x", static_cast<unsigned char>(*p));
    std::printf("\n");
    std::fflush(stdout);

    const uint32_t start = currentTimeMs();
    while (elapsedMs(start, currentTimeMs()) < 1000 && pollInput(kInputScreen, true)) {
        if (getCommand() != kCmdNone) {
            std::printf("command %d index %d\n", getCommand(), getSelectedIndex());
            std::fflush(stdout);
            clearCommand();
        }
    }
    report("done");
    destroyAccelerators();
    return 0;
}
