#include "scenario/commandTable.h"

#include <cstring>

#include "base/commandId.h"
#include "base/displayMode.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "scenario/commandCallees.h"
#include "scenario/scriptLines.h"

namespace {

struct CommandArgsState {
    cParams words;
    ~CommandArgsState() { destroyCommandArgs(); }
};

// Built empty before the entry point, released after it.
CommandArgsState gCommandArgsState MODULE_OBJECT(kOrderCommandWords);
const cModuleReset kReset(kOrderCommandWords, initCommandArgs);

}  // namespace

cParams& gCommandArgs = gCommandArgsState.words;

void initCommandArgs() { gCommandArgs.Parse(nullptr); }
void destroyCommandArgs() { gCommandArgs = cParams(); }

const char* commandWord(int i) { return gCommandArgs.Get(i); }
int32_t commandNumber(int i) { return decimalValue(gCommandArgs.Get(i)); }
bool isDigitLed(const char* text) { return text && *text >= '0' && *text <= '9'; }

const ScriptCommand scriptCommandTable[] = {
    {"wait", cmdWait},   {"reset", cmdReset},   {"date", cmdDate},     {"chapter", cmdChapter},
    {"img", cmdImg},     {"fade", cmdFade},     {"fadein", cmdFadeIn}, {"fadeout", cmdFadeOut},
    {"bgm", cmdBgm},     {"env", cmdEnv},       {"se", cmdSe},         {"voice", cmdVoice},
    {"flash", cmdFlash}, {"shake", cmdShake},   {"wipe", cmdWipe},     {"system", cmdSystem},
    {"movie", cmdMovie}, {"custom", cmdCustom}, {"mode", cmdMode},     {"test", cmdTest},
    {nullptr, nullptr},
};

bool executeCommand(const char* word, const char* args) {
    if (!word || !args || !commandCalleesInstalled()) return false;
    gCommandArgs.Parse(args);
    for (const ScriptCommand* row = scriptCommandTable; row->word; ++row)
        if (std::strcmp(row->word, word) == 0) return row->handler();
    return false;
}

bool cmdWait() {
    const CommandCallees& c = commandCallees();
    c.clearCommand();
    c.waitClick(commandNumber(0));
    return true;
}

// "date" and "chapter" keep their first word alone; without one the text is emptied.
bool cmdDate() {
    commandCallees().setChapter(commandWord(0), nullptr);
    return true;
}

bool cmdChapter() {
    commandCallees().setChapter(nullptr, commandWord(0));
    return true;
}

bool cmdSystem() {
    const CommandCallees& c = commandCallees();
    const char* what = commandWord(0);
    if (std::strcmp(what, "load") == 0) c.runSaveLoadScreen(false);
    else if (std::strcmp(what, "save") == 0) c.runSaveLoadScreen(true);
    else if (std::strcmp(what, "config") == 0) c.runConfigDialog();
    return true;
}

bool cmdMode() {
    static const char* const kModes[] = {"adv", "novel", "novel2", "system", "demo"};
    static_assert(sizeof kModes / sizeof kModes[0] == kModeLast + 1, "one word per display mode");
    const char* word = commandWord(0);
    for (int mode = 0; mode <= kModeLast; ++mode) {
        if (equalsNoCase(word, kModes[mode])) {
            commandCallees().setMsgWindowMode(mode);
            break;
        }
    }
    return true;
}

bool cmdTest() {
    const CommandCallees& c = commandCallees();
    c.playNoiseEffect(commandNumber(0), commandNumber(1), commandNumber(2), commandNumber(3),
                      commandNumber(4), commandNumber(5), commandNumber(6), commandNumber(7));
    c.pollInput(kInputReading, false);
    return true;
}
