// The save sections read by code that only computes: an input is a slot's master stream
// (deciphered), whose records "Data_Sound" (the names of the playing music and ambient loop, with
// no sound device), "Data_Anime" (picture slots), "Data_Log" (backlog) and, in the full
// configuration, "Data_Flow" (flow record) are handed to their serialisers as loading does, an
// absent one as an empty stream; the slots load the pictures of fuzzPictures.h. What was read,
// written again and read into a fresh engine, writes the same bytes: a damaged save settles into
// a state the program can save and load back.
#include <vector>

#include "base/clock.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "files/saveStream.h"
#include "graphics/screen.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "scenario/anime/pictureSlots.h"
#ifndef MORVANE_EARLIER
#include "flow/flowRecord.h"
#endif
#include "fuzzPictures.h"

namespace {
struct Section {
    const char* name;
    void (*serialize)(cSaveStream& stream);
};
const Section kSections[] = {
    {"Data_Sound", serializeSound},
    {"Data_Anime", serializeAnime},
    {"Data_Log", mLogBox::Serialize},
#ifndef MORVANE_EARLIER
    {"Data_Flow", serializeFlowData},
#endif
};

uint32_t fixedClock() { return 5000; }

void freshEngine() {
    resetEngineState();
    setClockSource(fixedClock);
    gScreenWidth = 8;
    gScreenHeight = 6;
    FUZZ_CHECK(createScreenCanvases());
}

void readSections(const cSaveStream& master) {
    cSaveStream copy(master.Data(), master.Size());
    for (const Section& section : kSections) {
        cSaveStream nested;
        copy.SectionField(section.name, nested);
        FUZZ_CHECK(nested.mode == kSaveReading);
        section.serialize(nested);
    }
}

std::vector<uint8_t> writeSections() {
    cSaveStream master;
    for (const Section& section : kSections) {
        cSaveStream nested;
        section.serialize(nested);
        FUZZ_CHECK(master.SectionField(section.name, nested));
    }
    // Every record written is found again.
    cSaveStream back(master.Data(), master.Size());
    FUZZ_CHECK(back.FieldCount() == sizeof kSections / sizeof kSections[0]);
    for (const Section& section : kSections) {
        cSaveStream nested;
        FUZZ_CHECK(back.SectionField(section.name, nested));
        size_t records = 0;
        for (size_t at = 0; at < nested.Size(); ++records) {
            uint32_t length = 0, bytes = 0;
            FUZZ_CHECK(nested.ReadAt(&length, 4, at) == 4);
            FUZZ_CHECK(nested.ReadAt(&bytes, 4, at + 4 + length) == 4);
            at += 8 + uint64_t(length) + bytes;
            FUZZ_CHECK(at <= nested.Size());
        }
        FUZZ_CHECK(nested.FieldCount() == records);
    }
    return master.Buffer();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzPictures();
    freshEngine();
    readSections(cSaveStream(data, size));
    const std::vector<uint8_t> first = writeSections();

    freshEngine();
    readSections(cSaveStream(first.data(), first.size()));
    const std::vector<uint8_t> second = writeSections();
    FUZZ_CHECK(first == second);

    setClockSource(nullptr);
    gBackBuffer.Release();
    gNextScreen.Release();
    gPrevScreen.Release();
    resetEngineState();
    return 0;
}
