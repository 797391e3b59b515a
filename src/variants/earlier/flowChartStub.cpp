#include "variants/earlier/flowChartStub.h"

#include "flow/flowHooks.h"

bool flowChartCommand() { return showFlowChartStub(); }

bool showFlowChartStub() { return true; }
