#include "base/appHooks.h"

namespace {
const AppHooks* gAppHooks = nullptr;
}

void setAppHooks(const AppHooks* hooks) { gAppHooks = hooks; }

void appRequestQuit() {
    if (gAppHooks && gAppHooks->requestQuit) gAppHooks->requestQuit();
}
void appUpdateCaption() {
    if (gAppHooks && gAppHooks->updateCaption) gAppHooks->updateCaption();
}
void appShowPopupMenu() {
    if (gAppHooks && gAppHooks->showPopupMenu) gAppHooks->showPopupMenu();
}
bool appBossKey() { return gAppHooks && gAppHooks->bossKey && gAppHooks->bossKey(); }
bool appSetFullScreen(bool on) {
    return gAppHooks && gAppHooks->setFullScreen && gAppHooks->setFullScreen(on);
}
bool appToggleFullScreen() {
    return gAppHooks && gAppHooks->toggleFullScreen && gAppHooks->toggleFullScreen();
}
