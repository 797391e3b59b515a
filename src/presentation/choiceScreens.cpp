#include "presentation/choiceScreens.h"

// not built yet
namespace mSpots {
void InitSystemButtons() {}
void SetButtonMode(int) {}
void UpdateButtons() {}
}  // namespace mSpots

// not built yet
bool beginChoice(const char*) { return false; }
// not built yet
bool addChoiceOption(int32_t, const char*) { return true; }
// not built yet
int32_t runChoice() { return 0; }
