#include "scenario/readflags/readFlags.h"

namespace mReadFlags {
bool load() { return false; }
bool save() { return false; }
}  // namespace mReadFlags
