#include "variants/earlier/flowChartStub.h"

bool showFlowChartStub() { return true; }
