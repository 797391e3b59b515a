// Choice and map screens and the system-button bar.
#pragma once
#include <cstdint>

namespace mSpots {
// Gives the system-button bar its configuration button.
void InitSystemButtons();
// Which button tables take the mouse and are drawn: 0 none, 1 reading, 2 choice, 3 full screen,
// 4 choice in display mode system.
void SetButtonMode(int mode);
// Draws the active button tables over the back buffer.
void UpdateButtons();
}  // namespace mSpots

// A choice of SELECT: beginChoice with the rest of the SELECT line (a map name, or empty for text
// options), addChoiceOption for each option line, then runChoice, which returns the number of the
// option taken (0 when a system command ended the choice).
bool beginChoice(const char* rest);
bool addChoiceOption(int32_t number, const char* line);
int32_t runChoice();
