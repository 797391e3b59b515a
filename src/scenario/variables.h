// Variables and flags of the scripts: the store (scenario/variableStore.h), its names from the
// configuration, and the two global variable files "flagdata.000" (global variables) and
// "flagdata.001" (seen flags) in the save folder.
#pragma once

#include "scenario/variableStore.h"

// The names from the configuration's section [Define.Flag] (keys L000..L999, G000..G999,
// F000..F999), then the global variables and seen flags from their files (zeros where a file is
// missing or short). The local variables are not touched. Always true.
bool initFlags(const char* unusedFileName);

// Rewrites the table's file whole (global variables or seen flags; local variables have none).
// The new content goes to a temporary file first and replaces the old file only when it was
// written completely, so a failed write leaves the old file. False when it was not replaced.
bool writeVariableFile(VariableKind kind);
