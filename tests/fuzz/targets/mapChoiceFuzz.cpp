// Map choices: an input is the option lines of a SELECT (up to the first NUL, one a line) and then
// the map file "fuzz.map" of folder "map", whose icons may name the pictures of fuzzPictures.h.
// The choice begins with the map, takes each option line as its numbered option, and the options'
// buttons are then hit-tested, navigated by the arrows and drawn at points the input gives. An
// option takes at most one button, only when its icon and its place are both defined, and a
// button taken by a disabled option stays disabled.
#include <string>
#include <vector>

#include "base/input.h"
#include "base/moduleState.h"
#include "config/systemInfo.h"
#include "files/textBuf.h"
#include "graphics/screen.h"
#include "presentation/choiceScreens.h"
#include "presentation/spots.h"
#include "scenario/expression.h"
#include "fuzzPictures.h"

namespace {
bool defined(const char* name, bool icon) {
    const vstring* key = internString(name);
    return icon ? gIconTable.count(key) != 0 : gPlaceTable.count(key) != 0;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) out.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) out.push_back(line);
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::get();
    writeFuzzPictures();
    FuzzInput input(data, size);
    const std::vector<std::string> options = lines(input.Text());
    const bool empty = input.Left() == 0;  // an empty file cannot be read
    FuzzFolder::write(folder.data() + "map/fuzz.map", input.Rest(), input.Left());

    resetEngineState();
    gScreenWidth = 64;
    gScreenHeight = 48;
    FUZZ_CHECK(createScreenCanvases());
    FUZZ_CHECK(beginChoice("fuzz.map") == !empty);
    if (!empty) {
        int32_t number = 0;
        for (const std::string& line : options) {
            if (number == 60) break;  // more than a table holds
            ++number;
            cParams words;
            words.Parse(line.c_str());
            const char* show = words.Get(2);
            const char* enable = words.Get(3);
            const bool shown = !*show || evaluateExpression(show) != 0;
            const bool enabled = !*enable || evaluateExpression(enable) != 0;
            const bool both = defined(words.Get(0), true) && defined(words.Get(1), false);
            const uint32_t before = gChoiceSpots.count;
            addChoiceOption(number, line.c_str());
            const uint32_t after = gChoiceSpots.count;
            FUZZ_CHECK(after <= mSpots_Common::kSpotSlots);
            if (!shown || !both) FUZZ_CHECK(after == before);
            else FUZZ_CHECK(after == before + 1 || before == mSpots_Common::kSpotSlots);
            if (after != before) {
                const mSpots_Common::cSpot& spot = gChoiceSpots.spots[after - 1];
                FUZZ_CHECK(spot.id == static_cast<uint32_t>(number));
                FUZZ_CHECK(spot.disabled == (enabled ? 0 : 1));
            }
        }
        // The buttons at points of the input: hits, the four arrows and drawing.
        for (int i = 0; i < 8 && input.Left() >= 2; ++i) {
            gMousePos.x = static_cast<int8_t>(input.Byte()) * 3;
            gMousePos.y = static_cast<int8_t>(input.Byte()) * 3;
            const int32_t hit = gChoiceSpots.HitTest();
            if (hit >= 0) {
                bool found = false;
                for (uint32_t s = 0; s < gChoiceSpots.count; ++s)
                    found = found || (gChoiceSpots.spots[s].id == static_cast<uint32_t>(hit) &&
                                      !gChoiceSpots.spots[s].disabled);
                FUZZ_CHECK(found);
            }
            for (uint8_t arrow = 5; arrow <= 8; ++arrow) {
                uint8_t command = arrow;
                gChoiceSpots.Navigate(command);
                FUZZ_CHECK(command == arrow || command == 9 || command == 10);
            }
            gChoiceSpots.Draw(hit);
        }
    }
    gBackBuffer.Release();
    gNextScreen.Release();
    gPrevScreen.Release();
    resetEngineState();
    return 0;
}
