#include "flow/flowChart.h"

// not built yet
bool showFlowChart() { return true; }
