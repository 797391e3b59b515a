// Save slots and the save/load screen.
#pragma once

// The save folder beside the executable.
void initSavePath();
