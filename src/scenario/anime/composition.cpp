#include "scenario/anime/composition.h"

void updateScreen() {}
