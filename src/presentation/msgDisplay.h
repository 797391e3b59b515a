// Message display driver: shows the scripts' messages and runs the system commands from its waits.
#pragma once
#include <cstdint>

// Display mode: adv 0, novel 1, novel2 2, system 3, demo 4.
extern uint8_t MsgWindowMode;

// One block of message text from the interpreter; read tells whether it was read before.
bool showMessageLine(const char* text, bool read);
// Test seam: when set, showMessageLine hands the block to the hook instead of showing it.
using ShowMessageHook = bool (*)(const char* text, bool read);
void setShowMessageHook(ShowMessageHook hook);
// Shows one message (a speaker name, possibly empty, and its text) and waits for the player; true
// when the message is done, also when skipping, auto mode, a system command that unwinds the game
// or quitting ended it.
bool displayMessage(const char* name, const char* text, bool novel, bool read);
// Runs the latched system commands (11 to 28) from a waiting loop; true when the loop must stop at
// once (a game was loaded, back to the title, exit). Nothing runs in display mode system.
bool handleSystemCommand(uint8_t inputMode);
// Sets the display mode, switches the message window's layout and starts a new page.
void setMsgWindowMode(int mode);
// New page.
void redrawMsgWindow();
// Puts the message window into display mode adv.
void initMsgWindow();
// True when the display mode is neither novel nor novel2.
bool isNotNovelMode();
// The wait of the script commands "wait", "fadein" and "fadeout".
void waitClick(int32_t ms);
// The voice-group switch for a voice file.
bool isVoiceEnabled(const char* voiceFile);
