#include "variants/earlier/flowChartStub.h"

#include "base/flowHooks.h"

bool flowChartCommand() { return showFlowChartStub(); }

bool showFlowChartStub() { return true; }
