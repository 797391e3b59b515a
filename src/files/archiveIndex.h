// Data archives: the index of every archive entry of the data folder.
#pragma once

// Sets the data folder beside the executable and indexes "system.dat" alone.
bool initDataArchives();
// Clears the index and reads every "*.dat" of the data folder.
bool scanDataArchives();
