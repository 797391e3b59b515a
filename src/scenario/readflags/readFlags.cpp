#include "scenario/readflags/readFlags.h"

namespace mReadFlags {
bool load() { return false; }
bool save() { return false; }
bool checkLine(int32_t) { return false; }
void flushPending() {}
void commit() {}
void beginScript(const char*) {}
}  // namespace mReadFlags
