// The configuration dialog.
#pragma once

struct HWND__;

// Runs the dialog modally over the owner window; false only when the program is quitting.
bool runConfigDialog(HWND__* owner);
