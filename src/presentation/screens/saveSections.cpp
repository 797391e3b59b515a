#include "presentation/screens/saveSections.h"

#include "files/saveStream.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"

namespace {
const SaveSection kSharedSections[] = {
    {"Data_Script", serializeScriptState},
    {"Data_Sound", serializeSound},
    {"Data_Anime", serializeAnime},
    {"Data_Flags", serializeLocalVariables},
    {"Data_Log", mLogBox::Serialize},
};
constexpr size_t kSharedCount = sizeof kSharedSections / sizeof kSharedSections[0];
}  // namespace

size_t sharedSaveSectionCount() { return kSharedCount; }

size_t saveSectionCount() { return kSharedCount + configurationSaveSectionCount(); }

const SaveSection& saveSection(size_t index) {
    return index < kSharedCount ? kSharedSections[index]
                                : configurationSaveSection(index - kSharedCount);
}

void writeSaveSections(cSaveStream& master) {
    for (size_t i = 0; i < saveSectionCount(); ++i) {
        const SaveSection& section = saveSection(i);
        cSaveStream nested;
        section.serialize(nested);
        master.SectionField(section.name, nested);
    }
}

void readSaveSections(cSaveStream& master) {
    for (size_t i = 0; i < saveSectionCount(); ++i) {
        const SaveSection& section = saveSection(i);
        // An absent section reads as an empty one (a save of the earlier configuration has no
        // flow record); the loader refuses a file that lacks one of the shared sections.
        cSaveStream nested;
        master.SectionField(section.name, nested);
        section.serialize(nested);
    }
}
