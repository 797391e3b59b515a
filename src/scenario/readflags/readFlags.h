// Read-text tracking and its log "complete.log".
#pragma once
#include <cstdint>

namespace mReadFlags {
bool load();
bool save();
// A text block ended by script line n (counted from 1) is being shown: widens the pending range;
// true when the block was read before.
bool checkLine(int32_t line);
// The pending range goes into the current script's set.
void flushPending();
// The current set goes into the table under the current script's name.
void commit();
// Commits and switches to the named script (empty: none).
void beginScript(const char* name);
}  // namespace mReadFlags
