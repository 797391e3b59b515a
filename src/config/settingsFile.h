// The settings file "morvane.cfg": the settings block stored whole in the save folder.
#pragma once

// Defaults, then "morvane.cfg" from the save folder when it exists and holds a whole block.
// Returns true when the file was read.
bool loadSettings();
// Writes the block as "morvane.cfg" in the save folder (created when missing); the old file is
// replaced only after the new one has been written completely. Returns true when it was written.
bool saveSettings();
