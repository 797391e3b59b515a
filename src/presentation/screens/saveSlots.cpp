#include "presentation/screens/saveSlots.h"

#include <cstring>

// not built yet
void initSavePath() {}
// not built yet
bool saveGame(int32_t) { return false; }
// not built yet
bool loadGame(int32_t) { return false; }
// not built yet
bool readSaveHeader(int32_t, SaveSlotHeader& header) {
    std::memset(&header, 0, sizeof header);
    return false;
}
// not built yet
bool writeSaveHeader(int32_t, const SaveSlotHeader&) { return false; }
// not built yet
bool runSaveLoadScreen(bool) { return false; }
