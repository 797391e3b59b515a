// The flow-chart screen of the full configuration: the chart over the frozen scene, with the
// caption of the node under the mouse, until a click, OK, cancel or the right button.
#pragma once
#include <cstdint>

// The grid point nearest to a pixel coordinate (halfway goes to the larger).
inline int64_t flowGridPoint(int64_t pixel) { return (pixel + 8) >> 4; }

// 0 when the player closed the screen (the closing command stays latched), 1 when the
// application is quitting.
int32_t showFlowChart();
