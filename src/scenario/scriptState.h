// Script state: the root script, the saved call stack and the abort flag.
#pragma once

// Runs the scenario once from "start.txt" or a loaded call stack; false when "start.txt" cannot
// be loaded.
bool runGameScript();
// Empties the saved call stack and raises the abort flag.
void abortScript();
