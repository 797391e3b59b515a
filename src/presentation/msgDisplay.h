// Message display driver: shows the scripts' messages and runs the system commands from its waits.
#pragma once
#include <cstdint>

#include "base/displayMode.h"

// One block of message text from the interpreter; read tells whether it was read before.
bool showMessageLine(const char* text, bool read);
// Makes the message window, the backlog and the choice screens the interpreter's presenter.
void installScriptPresenter();
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
// The wait of the script commands "wait", "fadein" and "fadeout".
void waitClick(int32_t ms);
// The voice-group switch for a voice file.
bool isVoiceEnabled(const char* voiceFile);
