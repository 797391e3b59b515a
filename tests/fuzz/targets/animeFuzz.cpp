// Animation definitions: an input is a few steps (four bytes each, the count in the first byte)
// and then the text of the definition "fuzz.img" of folder "anime". The definition is loaded into
// slots through the host files, and every step applies a section to a slot, moves it, sets the
// clock and composes the scene, which runs the program. The pictures its keys may name are those
// of fuzzPictures.h. After each section the slot holds only what a definition can give it.
#include <vector>

#include "base/clock.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "graphics/screen.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "fuzzPictures.h"

namespace {
uint32_t gFuzzClock = 0;
uint32_t fuzzClock() { return gFuzzClock; }

// What any definition may leave in a slot.
void checkSlot(const mAnime::cAnimeData& slot) {
    FUZZ_CHECK(slot.type <= kAnimeTypeActor);
    for (const mAnime::cAnimeLayer& layer : slot.layers) {
        FUZZ_CHECK(layer.mode <= 15);
        FUZZ_CHECK(layer.alpha >= 0 && layer.alpha <= 255);
    }
    for (const mAnime::cAnimeCommand& step : slot.commands) FUZZ_CHECK(step.opcode <= kAnimeHotaru);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    writeFuzzPictures();
    FuzzInput input(data, size);
    const int steps = input.Byte() % 9;
    std::vector<uint8_t> plan;
    for (int i = 0; i < steps * 4; ++i) plan.push_back(input.Byte());
    const bool empty = input.Left() == 0;  // an empty file cannot be read
    FuzzFolder::write(folder.data() + "anime/fuzz.img", input.Rest(), input.Left());

    resetEngineState();
    setClockSource(fuzzClock);
    gFuzzClock = 1000;
    gScreenWidth = 16;
    gScreenHeight = 12;
    FUZZ_CHECK(createScreenCanvases());
    for (int slot : {0, 5}) {
        FUZZ_CHECK(loadAnime(slot, "fuzz.img") == !empty);
        checkSlot(*animeSlot(slot));
    }
    for (int i = 0; i < steps; ++i) {
        const uint8_t* p = plan.data() + i * 4;
        const int slot = p[0] & 0x80 ? 5 : 0;
        applyAnimeSection(slot, static_cast<int8_t>(p[0] << 1) / 2);
        checkSlot(*animeSlot(slot));
        setAnimeX(slot, static_cast<int8_t>(p[1]));
        if (p[3] & 1) setAnimeY(slot, static_cast<int8_t>(p[3]) * 1000003);
        // Times up to about 18 hours, where the steps' arithmetic grows large.
        gFuzzClock += uint32_t(p[2]) * uint32_t(p[2]) * (p[3] & 0x80 ? 1000 : 1);
        updateScreen();
        composeAllAnime();
        FUZZ_CHECK(gAnimeDirty == 0);
    }
    composeAllAnime();
    setClockSource(nullptr);
    gBackBuffer.Release();
    gNextScreen.Release();
    gPrevScreen.Release();
    resetEngineState();
    return 0;
}
