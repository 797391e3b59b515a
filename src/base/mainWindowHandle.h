// The main window's handle: owner of dialogs, the popup menu, the boss key's disguise and the
// movie window. Set by the main window; 0 before its creation and from WM_DESTROY on.
#pragma once
#include <windows.h>

extern HWND gMainWindow;
