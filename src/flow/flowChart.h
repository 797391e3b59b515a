// The flow-chart screen of the full configuration.
#pragma once

// Shows the chart until the player leaves it; true.
bool showFlowChart();
