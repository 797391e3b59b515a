// The program's clock (the multimedia timer) and sleep.
#include "base/clock.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t platformTimeMs() { return timeGetTime(); }

void platformSleep(uint32_t ms) { Sleep(ms); }
