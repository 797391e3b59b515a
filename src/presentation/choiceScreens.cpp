#include "presentation/choiceScreens.h"

namespace {
const ChoiceHooks* gChoiceHooks = nullptr;
}

namespace mSpots {
void InitSystemButtons() {}
void SetButtonMode(int) {}
void UpdateButtons() {}
}  // namespace mSpots

void setChoiceHooks(const ChoiceHooks* hooks) { gChoiceHooks = hooks; }

bool beginChoice(const char* rest) {
    if (gChoiceHooks && gChoiceHooks->begin) return gChoiceHooks->begin(rest);
    return false;
}

bool addChoiceOption(int32_t number, const char* line) {
    if (gChoiceHooks && gChoiceHooks->add) return gChoiceHooks->add(number, line);
    return true;
}

int32_t runChoice() {
    if (gChoiceHooks && gChoiceHooks->run) return gChoiceHooks->run();
    return 0;
}
