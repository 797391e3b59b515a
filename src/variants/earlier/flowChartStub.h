// The earlier configuration has no flow chart: its action is accepted and does nothing.
#pragma once

// Shows nothing, changes nothing; true.
bool showFlowChartStub();
