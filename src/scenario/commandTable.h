// The script command table: the dot-line commands that are not the interpreter's own keywords.
// Each command reads its arguments as blank-separated words and drives the other modules through
// the callee table (scenario/commandCallees.h).
#pragma once
#include <cstdint>

#include "files/textBuf.h"

// Runs the command whose word equals the given word byte for byte, with its argument text; false
// for an unknown word, a missing text, no callee table installed or a command that reports failure.
bool executeCommand(const char* word, const char* args);

// One row of the table: a command word and its handler; the table ends with a row without a word.
struct ScriptCommand {
    const char* word;
    bool (*handler)();
};
extern const ScriptCommand scriptCommandTable[];

// The argument words of the command being executed.
extern cParams& gCommandArgs;
// The word list emptied (its state before the entry point), and its storage released.
void initCommandArgs();
void destroyCommandArgs();

// Word i of the arguments ("" past the last), its number (decimal, saturating at the 32-bit
// limits; 0 without leading digits), and whether a text begins with a decimal digit.
const char* commandWord(int i);
int32_t commandNumber(int i);
bool isDigitLed(const char* text);

// The handlers, in table order. cmdReset and cmdCustom are the configuration's own.
bool cmdWait();
bool cmdReset();
bool cmdDate();
bool cmdChapter();
bool cmdImg();
bool cmdFade();
bool cmdFadeIn();
bool cmdFadeOut();
bool cmdBgm();
bool cmdEnv();
bool cmdSe();
bool cmdVoice();
bool cmdFlash();
bool cmdShake();
bool cmdWipe();
bool cmdSystem();
bool cmdMovie();
bool cmdCustom();
bool cmdMode();
bool cmdTest();

// A voice path holds at most this many characters; a longer one is neither recorded nor played.
constexpr size_t kMaxVoicePath = 259;
