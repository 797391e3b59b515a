// Screen transitions: the rule-image wipes of the script command "wipe".
#pragma once
#include <cstdint>

// The scene wiped in over the screen in the order of a grey rule picture, with a hard edge or a
// soft band; false when the rule cannot be loaded.
bool maskWipeHard(const char* rule, uint32_t ms);
bool maskWipeSoft(const char* rule, uint32_t ms);
