#include "scenario/scriptPresenter.h"

#include "base/displayMode.h"

namespace {
const ScriptPresenter* gPresenter = nullptr;
}

void setScriptPresenter(const ScriptPresenter* presenter) { gPresenter = presenter; }

bool presentMessageText(const char* text, bool read) {
    return gPresenter && gPresenter->showMessage ? gPresenter->showMessage(text, read) : true;
}

void presentDisplayMode(int mode) {
    if (gPresenter && gPresenter->setDisplayMode) gPresenter->setDisplayMode(mode);
    else if (mode >= 0 && mode <= kModeLast) MsgWindowMode = static_cast<uint8_t>(mode);
}

void presentNewPage() {
    if (gPresenter && gPresenter->newPage) gPresenter->newPage();
}

void presentLogMark() {
    if (gPresenter && gPresenter->markLogPosition) gPresenter->markLogPosition();
}

bool presentBeginChoice(const char* rest) {
    return gPresenter && gPresenter->beginChoice ? gPresenter->beginChoice(rest) : false;
}

bool presentChoiceOption(int32_t number, const char* line) {
    return gPresenter && gPresenter->addChoiceOption ? gPresenter->addChoiceOption(number, line)
                                                     : true;
}

int32_t presentRunChoice() {
    return gPresenter && gPresenter->runChoice ? gPresenter->runChoice() : 0;
}
