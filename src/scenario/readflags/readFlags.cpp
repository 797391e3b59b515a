#include "scenario/readflags/readFlags.h"

namespace mReadFlags {
// not built yet
bool load() { return false; }
// not built yet
bool save() { return false; }
// not built yet
bool checkLine(int32_t) { return false; }
// not built yet
void flushPending() {}
// not built yet
void commit() {}
// not built yet
void beginScript(const char*) {}
}  // namespace mReadFlags
