// The backlog of the last 60 messages.
#pragma once

class cSaveStream;

namespace mLogBox {
void Clear();
// The interpreter moved its save point: the backlog's mark follows the write position.
void MarkPosition();
// Records a displayed message: speaker name and plain text, with the pending voice.
void AddEntry(const char* name, const char* text);
// The backlog screen; returns when the player leaves it or on quit.
void RunScreen();
// The save section "Data_Log", written or read by the stream's mode.
void Serialize(cSaveStream& stream);
}  // namespace mLogBox
