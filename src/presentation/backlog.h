// The backlog: the last 60 messages shown, each with its speaker name and voice, and the screen
// that scrolls back through them and replays their voices.
#pragma once
#include <cstdint>

#include "base/vstring.h"

class cSaveStream;

namespace mLogBox {

constexpr int32_t kLogSize = 60;

struct cLogNode {
    vstring name;
    vstring text;   // plain text, "\n" for each line break
    vstring voice;  // "folder\file" as the voice was played; empty without voice
};

// All entries empty, write and mark position 0.
void Clear();
// The interpreter moved its save point: the mark follows the write position.
void MarkPosition();
// Records a displayed message (both given): speaker name and plain text, with the pending voice.
void AddEntry(const char* name, const char* text);
// The voice the next entry takes (emptied by "", unchanged by null).
void SetPendingVoice(const char* voicePath);
// The entry b steps behind the write position (1 the newest); false, copying nothing, when b is
// outside 0 to 59.
bool GetEntry(int32_t back, vstring& name, vstring& text, vstring& voice);
// The same entry in place, without copying (entries from a save may be huge); null outside 0 to 59.
const cLogNode* entryBehind(int32_t back);
// The backlog screen; returns when the player leaves it or on quit.
void RunScreen();
// The save section "Data_Log", written or read by the stream's mode.
void Serialize(cSaveStream& stream);

// What the screen and the tests read.
int32_t writePosition();
int32_t markPosition();
const char* pendingVoice();

}  // namespace mLogBox
