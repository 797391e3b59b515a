// The player's settings block and its file "morvane.cfg".
#pragma once

// Defaults, then "morvane.cfg" from the save folder when it exists.
bool loadSettings();
