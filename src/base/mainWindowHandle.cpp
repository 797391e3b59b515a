#include "base/mainWindowHandle.h"

HWND gMainWindow = 0;
