// Choice and map screens and the system-button bar.
#pragma once
#include <cstdint>

namespace mSpots {
// Gives the system-button bar its configuration button.
void InitSystemButtons();
}  // namespace mSpots

// A choice of SELECT: beginChoice with the rest of the SELECT line (a map name, or empty for text
// options), addChoiceOption for each option line, then runChoice, which returns the number of the
// option taken (0 when a system command ended the choice).
bool beginChoice(const char* rest);
bool addChoiceOption(int32_t number, const char* line);
int32_t runChoice();

// Test seam: when set, the three calls go to the hooks instead (any hook may be null).
struct ChoiceHooks {
    bool (*begin)(const char* rest);
    bool (*add)(int32_t number, const char* line);
    int32_t (*run)();
};
void setChoiceHooks(const ChoiceHooks* hooks);
