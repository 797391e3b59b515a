#include "scenario/anime/composition.h"

// not built yet
void updateScreen() {}
