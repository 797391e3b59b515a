// Save slots and the save/load screen.
#pragma once
#include <cstddef>
#include <cstdint>

// The fixed header at the start of every save-slot file (little-endian, no padding).
struct SaveSlotHeader {
    uint32_t fileTimeLow;
    uint32_t fileTimeHigh;
    uint8_t protect;
    uint8_t reserved[3];
    int32_t deathCount;
    char dateText[256];
    char chapterText[256];
    char memo[256];
    uint8_t thumbnail[104 * 78 * 3];
};
static_assert(sizeof(SaveSlotHeader) == 25120, "save-slot header size");
static_assert(offsetof(SaveSlotHeader, memo) == 528, "save-slot header layout");

// The save folder beside the executable.
void initSavePath();

// Writes slot 0 to 49; false outside or when the file cannot be created.
bool saveGame(int32_t slot);
// Reads a slot and hands each section to its module; false outside 0 to 49 or without a file.
bool loadGame(int32_t slot);
// The header zeroed, then filled from the slot's file; false when it cannot be opened.
bool readSaveHeader(int32_t slot, SaveSlotHeader& header);
// Rewrites the header of an existing slot file in place.
bool writeSaveHeader(int32_t slot, const SaveSlotHeader& header);
// The save/load screen; true when a game was loaded or quit arrived, false when the player left.
bool runSaveLoadScreen(bool save);
