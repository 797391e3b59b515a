// Script state: the chapter strings, the play time, the root script level with the chain of CALL
// levels below it, the call stack read from a save, and the abort flag that unwinds the chain.
#pragma once
#include <cstdint>
#include <vector>

#include "base/vstring.h"

class cSaveStream;
class cScript;

// One saved call level.
struct cSaveNode {
    vstring name;
    int32_t Line = 0;  // the level's save-point line
    int32_t CaseID = 0;
    uint8_t CaseEnable = 0;
};
// The call stack of a loaded save, root first; empty except between a load and the next rebuild.
using cSaveStack = std::vector<cSaveNode>;

// 1 while the running chain must unwind (a save was loaded, or back to the title).
extern uint8_t& scriptAbortFlag;
// Set by the script commands "date" and "chapter"; shown in the caption and the save slots.
extern vstring& gChapterDate;
extern vstring& gChapterName;

cScript& rootScript();
cSaveStack& saveStack();

// Runs the scenario once from "start.txt" or a loaded call stack; false when "start.txt" cannot
// be loaded.
bool runGameScript();
// Rebuilds the call chain from the saved stack, or loads "start.txt" into the root level.
bool startScript();
// Empties the saved call stack and raises the abort flag.
void abortScript();
// A given text replaces the chapter date, resp. name; null keeps it. Then the caption follows.
void setChapter(const char* date, const char* name);
// Whole minutes of play.
uint32_t getPlayTimeMinutes();
// The save section "Data_Script", written or read by the stream's mode.
void serializeScriptState(cSaveStream& stream);

// Play time counts from now: the first step of the entry point.
void beginPlayTime();
// The state as before the entry point: empty chapter strings, the root level cleared, no saved
// stack, the abort flag down, no play time, counted from now.
void resetScriptState();
