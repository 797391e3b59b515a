#include "flow/flowHooks.h"

#include "flow/flowChart.h"
#include "flow/flowRecord.h"

void flowStartup() { loadFlowChecklist(); }
bool flowChartCommand() { return showFlowChart(); }
