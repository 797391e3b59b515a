#include "presentation/screens/saveSlots.h"

void initSavePath() {}
