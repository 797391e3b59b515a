// The save sections of a slot: the table's rows in stored order, and every row reading back what
// it wrote.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/moduleState.h"
#include "files/saveStream.h"
#include "media/sound.h"
#include "presentation/screens/saveSections.h"
#include "scenario/scriptState.h"
#include "scenario/variableStore.h"
#include "testing.h"

namespace {

std::vector<std::string> sectionNames() {
    std::vector<std::string> names;
    for (size_t i = 0; i < saveSectionCount(); ++i) names.push_back(saveSection(i).name);
    return names;
}

// A state worth saving, per section (a section without an entry saves the reset state).
const std::map<std::string, std::function<void()>> kStates = {
    {"Data_Script", [] { setChapter("date", "chapter"); }},
    {"Data_Sound",
     [] {
         setEnvName("rain.ogg");
         setBgmName("theme.ogg");
         setLoopBGM(true);
         gVoiceFolder = "ch1";
     }},
    {"Data_Flags",
     [] {
         int32_t* values = variableValues(VariableKind::Local);
         for (int i = 0; i < kVariableCount; ++i) values[i] = i * 7919 - 1000;
     }},
};

std::vector<uint8_t> written(const SaveSection& section) {
    cSaveStream out;
    section.serialize(out);
    return out.Buffer();
}

TEST(SaveSections, StoredOrderOfTheConfiguration) {
    std::vector<std::string> expected = {"Data_Script", "Data_Sound", "Data_Anime", "Data_Flags",
                                         "Data_Log"};
#ifndef MORVANE_EARLIER
    expected.push_back("Data_Flow");
#endif
    EXPECT_EQ(expected, sectionNames());
}

TEST(SaveSections, EveryRowReadsBackWhatItWrote) {
    for (size_t i = 0; i < saveSectionCount(); ++i) {
        const SaveSection& section = saveSection(i);
        SCOPED_TRACE(section.name);
        resetEngineState();
        auto state = kStates.find(section.name);
        if (state != kStates.end()) state->second();
        const std::vector<uint8_t> first = written(section);

        resetEngineState();
        cSaveStream in(first.data(), first.size());
        section.serialize(in);
        EXPECT_EQ(first, written(section));
    }
    resetEngineState();
}

TEST(SaveSections, MasterStreamHoldsEverySectionOnce) {
    resetEngineState();
    cSaveStream master;
    writeSaveSections(master);
    cSaveStream in(master.Data(), master.Size());
    EXPECT_EQ(saveSectionCount(), in.FieldCount());
    for (const std::string& name : sectionNames()) EXPECT_TRUE(in.FindField(name.c_str())) << name;
    readSaveSections(in);
    resetEngineState();
}

}  // namespace
