// The commands of the screen effects and wipes.
#include "scenario/commandCallees.h"
#include "scenario/commandTable.h"
#include "scenario/scriptLines.h"

namespace {

struct ShakePreset {
    const char* word;  // null: any other word, or none
    int32_t amplitudeX, amplitudeY, frequencyX, frequencyY;
    uint32_t ms;
};

const ShakePreset kShakePresets[] = {
    {"slow", 10, 10, 39, 37, 1000}, {"big", 40, 40, 71, 83, 1500}, {"small", 5, 5, 71, 83, 1000},
    {"xonly", 20, 0, 71, 0, 1000},  {"yonly", 0, 20, 0, 71, 1000}, {"once", 20, 20, 83, 71, 200},
    {nullptr, 20, 20, 71, 83, 1000},
};

constexpr int32_t kDefaultWipeMs = 500;

}  // namespace

bool cmdFlash() {
    const CommandCallees& c = commandCallees();
    RgbColour colour = {255, 255, 255};
    int32_t count;
    if (isDigitLed(commandWord(0))) {
        count = commandNumber(0);
    } else {
        c.lookupColourName(commandWord(0), colour);  // an unknown name keeps white
        count = commandNumber(1);
    }
    c.flashScreen(count, colour);
    return true;
}

bool cmdShake() {
    const char* word = commandWord(0);
    const ShakePreset* preset = kShakePresets;
    while (preset->word && !equalsNoCase(word, preset->word)) ++preset;
    commandCallees().shakeScreen(preset->amplitudeX, preset->amplitudeY, preset->frequencyX,
                                 preset->frequencyY, preset->ms);
    return true;
}

// A bare "fade" in place of the duration gives the default duration with the soft band.
bool cmdWipe() {
    const CommandCallees& c = commandCallees();
    const char* rule = commandWord(0);
    int32_t ms = commandNumber(1);
    if (ms <= 0) ms = kDefaultWipeMs;
    if (equalsNoCase(commandWord(1), "fade") || equalsNoCase(commandWord(2), "fade"))
        c.maskWipeSoft(rule, static_cast<uint32_t>(ms));
    else
        c.maskWipeHard(rule, static_cast<uint32_t>(ms));
    return true;
}
