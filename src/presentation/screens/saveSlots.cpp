#include "presentation/screens/saveSlots.h"

#include <cstring>

void initSavePath() {}
bool saveGame(int32_t) { return false; }
bool loadGame(int32_t) { return false; }
bool readSaveHeader(int32_t, SaveSlotHeader& header) {
    std::memset(&header, 0, sizeof header);
    return false;
}
bool writeSaveHeader(int32_t, const SaveSlotHeader&) { return false; }
bool runSaveLoadScreen(bool) { return false; }
