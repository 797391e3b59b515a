#include "flow/flowChart.h"

bool showFlowChart() { return true; }
