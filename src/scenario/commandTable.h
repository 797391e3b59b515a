// The script command table: the dot-line commands that are not the interpreter's own keywords.
#pragma once

// Runs the command whose word equals the given word byte for byte, with its argument text; false
// for an unknown word, a missing text or a command that reports failure.
bool executeCommand(const char* word, const char* args);
