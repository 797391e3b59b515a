// The slot files: saving the current state with its header and thumbnail, loading a whole file,
// and the header alone for the screen.
#include "presentation/screens/saveSlots.h"

#include <cstring>
#include <memory>
#include <vector>

#include "base/uiText.h"
#include "files/apiFile.h"
#include "files/saveFile.h"
#include "files/saveStream.h"
#include "graphics/screen.h"
#include "presentation/screens/saveSections.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"

namespace {
void forceEnds(SaveSlotHeader& header) {
    header.dateText[sizeof header.dateText - 1] = 0;
    header.chapterText[sizeof header.chapterText - 1] = 0;
    header.memo[sizeof header.memo - 1] = 0;
}
}  // namespace

// The save folder is computed once, at start-up; every slot operation names files in it.
void initSavePath() { getSaveFolder(); }

bool saveGame(int32_t slot) { return saveGameWithMemo(slot, ""); }

bool buildSaveSlot(const char* memo, SaveSlotHeader& header, cSaveStream& master) {
    fillSaveHeader(header, currentLocalTime(), getVariable(uiText(UiText::VarDeathCount)),
                   gChapterDate.c_str(), gChapterName.c_str(), memo, gNextScreen);
    writeSaveSections(master);
    return master.Size() != 0;
}

bool saveGameWithMemo(int32_t slot, const char* memo) {
    char name[16];
    if (!saveSlotFileName(slot, name)) return false;
    // The header holds a 24 kB thumbnail: on the heap.
    std::unique_ptr<SaveSlotHeader> header(new SaveSlotHeader);
    cSaveStream master;
    if (!buildSaveSlot(memo, *header, master)) return false;
    return replaceSaveFile(name, [&header, &master](cSaveFile& file) {
        return file.Write(header.get(), sizeof *header) && file.Write(master.Data(), master.Size());
    });
}

bool loadGame(int32_t slot) {
    char name[16];
    if (!saveSlotFileName(slot, name)) return false;
    cSaveFile file;
    if (!file.OpenRead(name)) return false;
    const uint64_t size = file.file.Size64();
    if (size == 0 || size > kMaxSlotFileBytes) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const bool read = file.Read(bytes.data(), bytes.size());
    file.Close();
    // The whole file is checked before any module sees a byte of it: the sections this
    // configuration reads, the shared ones present.
    std::vector<const char*> sections;
    for (size_t i = 0; i < saveSectionCount(); ++i) sections.push_back(saveSection(i).name);
    if (!read || !slotFileLoadable(bytes.data(), bytes.size(), sections.data(), sections.size(),
                                   sharedSaveSectionCount()))
        return false;
    cSaveStream master(bytes.data() + sizeof(SaveSlotHeader), bytes.size() - sizeof(SaveSlotHeader));
    readSaveSections(master);
    return true;
}

bool readSaveHeader(int32_t slot, SaveSlotHeader& header) {
    std::memset(&header, 0, sizeof header);
    char name[16];
    if (!saveSlotFileName(slot, name)) return false;
    cSaveFile file;
    if (!file.OpenRead(name)) return false;
    const uint64_t size = file.file.Size64();
    if (size == 0) return false;
    const size_t wanted = size < sizeof header ? static_cast<size_t>(size) : sizeof header;
    file.Read(&header, wanted);
    file.Close();
    forceEnds(header);
    return true;
}

bool writeSaveHeader(int32_t slot, const SaveSlotHeader& header) {
    char name[16];
    if (!saveSlotFileName(slot, name)) return false;
    // The body after the header is kept: the file is read whole and replaced with the new header
    // in front, so a failure anywhere leaves the old file as it was. Any file whose header reads
    // takes the new one; a file shorter than a header had no body and gets none.
    cSaveFile file;
    if (!file.OpenRead(name)) return false;
    const uint64_t size = file.file.Size64();
    if (size == 0 || size > kMaxSlotFileBytes) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const bool read = file.Read(bytes.data(), bytes.size());
    file.Close();
    if (!read) return false;
    const size_t bodySize = bytes.size() > sizeof header ? bytes.size() - sizeof header : 0;
    return replaceSaveFile(name, [&header, &bytes, bodySize](cSaveFile& out) {
        return out.Write(&header, sizeof header) &&
               (bodySize == 0 || out.Write(bytes.data() + sizeof header, bodySize));
    });
}

bool deleteSaveSlot(int32_t slot) {
    char name[16], path[kPathMax];
    if (!saveSlotFileName(slot, name) || !formatPath(path, "%s%s", getSaveFolder(), name)) return false;
    return deleteFile(path);
}
