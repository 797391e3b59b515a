#include "base/appHooks.h"

namespace {
const AppHooks* gAppHooks = nullptr;
}

void setAppHooks(const AppHooks* hooks) { gAppHooks = hooks; }

bool appRequestQuit() { return gAppHooks && gAppHooks->quit && gAppHooks->quit(); }
void appUpdateCaption() {
    if (gAppHooks && gAppHooks->refreshCaption) gAppHooks->refreshCaption();
}
void appShowPopupMenu() {
    if (gAppHooks && gAppHooks->popupMenu) gAppHooks->popupMenu();
}
bool appBossKey() { return gAppHooks && gAppHooks->bossKeyCommand && gAppHooks->bossKeyCommand(); }
bool appSetFullScreen(bool on) {
    return gAppHooks && gAppHooks->switchScreen && gAppHooks->switchScreen(on);
}
bool appToggleFullScreen() {
    return gAppHooks && gAppHooks->toggleScreen && gAppHooks->toggleScreen();
}
bool appDirectDrawAvailable() {
    return gAppHooks && gAppHooks->directDrawAvailable && gAppHooks->directDrawAvailable();
}
uint64_t appVideoMemory() {
    return gAppHooks && gAppHooks->videoMemory ? gAppHooks->videoMemory() : 0;
}
