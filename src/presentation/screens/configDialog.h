// The configuration dialog.
#pragma once

// Runs the dialog modally over the main window; false only when the program is quitting.
bool runConfigDialog();
// Deletes the dialog's font (shutdown).
void exitUIFont();
