// The earlier configuration has no flow record: nothing is read at start-up, and the flow-chart
// action shows the placeholder.
#include "base/flowHooks.h"

void flowStartup() {}
void flowScriptStarted(const char*) {}
