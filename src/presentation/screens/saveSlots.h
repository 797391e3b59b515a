// Save slots: the slot files "savedata.%03d" of the save folder (0 to 49; 0 the quick save), each
// a fixed header followed by the master stream of the save sections; and the save/load screen.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/localTime.h"

class cImage;
class cSaveStream;

constexpr int32_t kSaveSlotCount = 50;
constexpr int32_t kThumbnailWidth = 104;
constexpr int32_t kThumbnailHeight = 78;

// The fixed header at the start of every save-slot file (little-endian, no padding).
struct SaveSlotHeader {
    uint32_t fileTimeLow;   // FILETIME of the local time of saving
    uint32_t fileTimeHigh;
    uint8_t protect;        // non-zero: the screen neither overwrites nor deletes the slot
    uint8_t reserved[3];
    int32_t deathCount;     // the scripts' death counter at saving
    char dateText[256];     // "YYYY/MM/DD hh:mm"
    char chapterText[256];  // chapter date, a blank, chapter name
    char memo[256];
    uint8_t thumbnail[kThumbnailWidth * kThumbnailHeight * 3];  // blue, green, red; rows from the top
};
static_assert(sizeof(SaveSlotHeader) == 25120, "save-slot header size");
static_assert(offsetof(SaveSlotHeader, fileTimeHigh) == 4, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, protect) == 8, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, deathCount) == 12, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, dateText) == 16, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, chapterText) == 272, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, memo) == 528, "save-slot header layout");
static_assert(offsetof(SaveSlotHeader, thumbnail) == 784, "save-slot header layout");

// The layout of slot files, computed only.
// "savedata.%03d"; false outside 0 to 49.
bool saveSlotFileName(int32_t slot, char (&out)[16]);
// "YYYY/MM/DD hh:mm" into a field of the header.
void formatSaveDate(const LocalTime& time, char (&out)[256]);
// "%s %s" of the chapter date and name, cut at a character boundary to fit 255 bytes and a NUL.
void formatChapterText(const char* date, const char* name, char (&out)[256]);
// A fresh header: the time, the death count, the date and chapter texts, the memo and the
// thumbnail of the scene (boxed down to 104 by 78 in a white frame).
void fillSaveHeader(SaveSlotHeader& header, const LocalTime& time, int32_t deathCount,
                    const char* chapterDate, const char* chapterName, const char* memo,
                    const cImage& scene);
// A slot file bigger than this is not the program's.
constexpr uint64_t kMaxSlotFileBytes = 64u << 20;
// Whether a whole slot file can be loaded: the header and a master stream whose records end
// exactly at the file's end, holding the first requiredCount of the sections that are read; each
// record of a section that is read must itself be records ending exactly at its own end, while a
// record that nothing reads (the flow record in the earlier configuration) is not looked into; no
// bigger than the cap.
bool slotFileLoadable(const uint8_t* bytes, size_t size, const char* const* readSections,
                      size_t readCount, size_t requiredCount);

// The save folder as a path prefix (start-up).
void initSavePath();
// Writes slot 0 to 49 with the current state and an empty memo; false outside, or when any step
// fails (the old file then stays byte for byte).
bool saveGame(int32_t slot);
// The header (with the memo) and the master stream of the sections of a save of the current
// state, as saveGameWithMemo writes them; false when the stream came out empty.
bool buildSaveSlot(const char* memo, SaveSlotHeader& header, cSaveStream& master);
// The same with the memo in the header (the quick save), in one replacing write.
bool saveGameWithMemo(int32_t slot, const char* memo);
// Reads a slot and hands each section to its module; false, changing nothing, outside 0 to 49,
// without a file, or for a file that is not a whole slot file.
bool loadGame(int32_t slot);
// The header zeroed, then filled from the slot's file (a short file leaves the rest zero); false
// when the slot is out of range, the file cannot be opened or is empty.
bool readSaveHeader(int32_t slot, SaveSlotHeader& header);
// Rewrites the header of a slot file whose header reads (not empty), keeping the body after it (a
// file shorter than a header has none); false without such a file or when the write fails (the
// old file then stays byte for byte).
bool writeSaveHeader(int32_t slot, const SaveSlotHeader& header);
// Deletes a slot's file (0 to 49); true when it was deleted.
bool deleteSaveSlot(int32_t slot);
// The save/load screen; true when a game was loaded or quit arrived, false when the player left.
bool runSaveLoadScreen(bool save);
