#include "graphics/transitions.h"

// not built yet
bool maskWipeHard(const char*, uint32_t) { return false; }
// not built yet
bool maskWipeSoft(const char*, uint32_t) { return false; }
