// The program's clock: the multimedia timer.
#include "base/clock.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t platformTimeMs() { return timeGetTime(); }
