#include "presentation/msgSpeakers.h"

#include "base/caseInsensitive.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "config/registry.h"
#include "base/settings.h"

namespace {
SpeakerGroupLookup gSpeakers = nullptr;
FemaleVoiceLookup gFemaleVoices = nullptr;

const uint8_t kGroupColours[9][3] = {
    {140, 250, 220}, {200, 190, 240}, {255, 220, 250}, {255, 215, 170}, {245, 255, 195},
    {190, 230, 255}, {230, 200, 215}, {210, 185, 170}, {255, 150, 150},
};
// The configuration's tables, copied at start-up.
struct SpeakerTables {
    mSystemParam::cSection groups;
    mSystemParam::cSection femaleVoicePrefixes;
};
SpeakerTables gSpeakerTables;
const cModuleReset kReset(kOrderMsgBox, [] { gSpeakerTables = SpeakerTables(); });

// True when the table holds the name as the system's comparison sees it: the registry finds keys
// with the case of every byte folded, also of a double-byte character's second byte.
bool holdsName(const mSystemParam::cSection& table, const char* name) {
    auto it = table.values.find(vstring(name));
    return it != table.values.end() && equalsIgnoringCase(it->first.c_str(), name);
}

int speakerGroupOf(const char* name) {
    const mSystemParam::cSection& groups = gSpeakerTables.groups;
    return holdsName(groups, name) ? groups.GetInt(name, 0) : 0;
}
bool isFemaleVoicePrefix(const char* prefix) {
    const mSystemParam::cSection& prefixes = gSpeakerTables.femaleVoicePrefixes;
    return holdsName(prefixes, prefix) && prefixes.GetBool(prefix, false);
}
}  // namespace

void loadMessageContent() {
    mSystemParam::getSection(gSpeakerTables.groups, "Message", "Speaker");
    mSystemParam::getSection(gSpeakerTables.femaleVoicePrefixes, "Message", "Voice");
    setSpeakerLookups(speakerGroupOf, isFemaleVoicePrefix);
}

void setSpeakerLookups(SpeakerGroupLookup speakers, FemaleVoiceLookup femaleVoices) {
    gSpeakers = speakers;
    gFemaleVoices = femaleVoices;
}

void speakerColour(uint8_t& r, uint8_t& g, uint8_t& b, const char* name) {
    r = g = b = 255;
    if (!UserSettings.speakerColours) return;
    if (!name || !*name) {
        r = g = b = 215;
        return;
    }
    int group = gSpeakers ? gSpeakers(name) : 0;
    if (group < 1 || group > 9) return;
    r = kGroupColours[group - 1][0];
    g = kGroupColours[group - 1][1];
    b = kGroupColours[group - 1][2];
}

bool voiceGroupEnabled(const char* voiceFile) {
    bool female = false;
    if (voiceFile && voiceFile[0] && voiceFile[1] && gFemaleVoices) {
        const char prefix[3] = {voiceFile[0], voiceFile[1], '\0'};
        female = gFemaleVoices(prefix);
    }
    return (female ? UserSettings.femaleVoices : UserSettings.maleVoices) != 0;
}
