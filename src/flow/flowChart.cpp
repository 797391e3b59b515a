#include "flow/flowChart.h"

#include "flow/flowHooks.h"

bool flowChartCommand() { return showFlowChart(); }

// not built yet
bool showFlowChart() { return true; }
