#include "scenario/scriptState.h"

bool runGameScript() { return false; }
void abortScript() {}
