#include "presentation/msgDisplay.h"

void initMsgWindow() {}
