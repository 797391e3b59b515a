#include "base/localTime.h"

namespace {
LocalTimeSource gSource = nullptr;
}

LocalTime currentLocalTime() { return gSource ? gSource() : platformLocalTime(); }

void setLocalTimeSource(LocalTimeSource source) { gSource = source; }
