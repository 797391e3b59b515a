#include "app/startup.h"

#include <objbase.h>

#include <cstring>

#include "base/input.h"
#include "app/mainWindow.h"
#include "app/inputPlatform.h"
#include "app/popupMenu.h"
#include "app/realCallees.h"
#include "base/appHooks.h"
#include "base/flowHooks.h"
#include "config/registry.h"
#include "base/settings.h"
#include "config/settingsFile.h"
#include "config/systemInfo.h"
#include "files/archiveIndex.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "media/movie.h"
#include "media/soundDevice.h"
#include "presentation/backlog.h"
#include "presentation/choiceScreens.h"
#include "presentation/msgDisplay.h"
#include "presentation/screens/configDialog.h"
#include "presentation/screens/saveSlots.h"
#include "scenario/anime/animeProgram.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/readflags/readFlags.h"
#include "scenario/variables.h"

namespace {
// The application's side of the calls that the lower layers make upward.
const AppHooks kAppHooks = {
    requestQuit, updateCaption, [] { gPopupMenu.Show(); }, bossKey, setFullScreen, toggleFullScreen,
    isDirectDrawAvailable, getVideoMemory,
};

struct StartupState {
    bool comInitialised = false;
    // "complete.log" is rewritten at shutdown only when start-up got as far as reading it, so a
    // start-up that failed earlier never replaces the player's read-text record with an empty one.
    bool readFlagsLoaded = false;
};
StartupState gStartup;

// The back buffer in black, with the splash image over it when the configuration names one.
void showSplash() {
    if (gBackBuffer.HasPixels())
        std::memset(gBackBuffer.pixels, 0, static_cast<size_t>(gBackBuffer.ByteCount()));
    const char* splash = getSplashImage();
    if (!splash || !*splash) return;
    cSprite picture;
    if (picture.LoadPng(splash)) gGraphics.Blt(gBackBuffer, picture, 0, 0);
    picture.Release();
}
}  // namespace

bool initApplication(HINSTANCE) {
    setAppHooks(&kAppHooks);
    setCommandCallees(&realCommandCallees());
    createScreenCanvases();
    showSplash();
    showMainWindow();
    scanDataArchives();
    mSystemParam::loadConfig();
    loadSystemInfo();
    loadSettings();
    createAccelerators();
    mLogBox::Clear();

    if (CoInitializeEx(nullptr, COINIT_MULTITHREADED) != S_OK) return false;
    gStartup.comInitialised = true;

    initDirectDraw();
    setFullScreen(UserSettings.fullScreen != 0);
    initSound();
    installButtonPlatform();
    mSpots::InitSystemButtons();
    installSystemCharAlpha();
    markAnimeDirty();
    initMsgWindow();
    installScriptPresenter();
    initFlags("flags.txt");
    initSavePath();
    mReadFlags::load();
    gStartup.readFlagsLoaded = true;
    flowStartup();
    return true;
}

void shutdownApplication() {
    if (gStartup.readFlagsLoaded) mReadFlags::save();
    shutdownMovie();
    destroyAccelerators();
    shutdownSound();
    releaseDirectDraw();
    exitPopupMenu();
    exitUIFont();
    postCloseMessage();
    // Only a successful CoInitializeEx is balanced; S_FALSE counts as a failure of start-up.
    if (gStartup.comInitialised) {
        CoUninitialize();
        gStartup.comInitialised = false;
    }
}
