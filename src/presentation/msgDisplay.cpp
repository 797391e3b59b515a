#include "presentation/msgDisplay.h"


namespace {
ShowMessageHook gShowMessageHook = nullptr;
}

void setShowMessageHook(ShowMessageHook hook) { gShowMessageHook = hook; }

bool showMessageLine(const char* text, bool read) {
    if (gShowMessageHook) return gShowMessageHook(text, read);
    return true;
}
void setMsgWindowMode(int mode) {
    if (mode >= 0 && mode <= 4) MsgWindowMode = static_cast<uint8_t>(mode);
}
void redrawMsgWindow() {}
void initMsgWindow() { setMsgWindowMode(0); }
bool isNotNovelMode() { return MsgWindowMode != 1 && MsgWindowMode != 2; }
void waitClick(int32_t) {}
bool isVoiceEnabled(const char*) { return true; }
