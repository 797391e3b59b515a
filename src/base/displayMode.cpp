#include "base/displayMode.h"

uint8_t MsgWindowMode = kModeAdv;
