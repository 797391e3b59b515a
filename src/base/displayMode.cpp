#include "base/displayMode.h"

#include "base/moduleState.h"

uint8_t MsgWindowMode = kModeAdv;

namespace {
const cModuleReset kReset(0, [] { MsgWindowMode = kModeAdv; });
}
