#include "flow/flowRecord.h"

bool loadFlowChecklist() { return false; }
