#include "flow/flowRecord.h"

// not built yet
bool loadFlowChecklist() { return false; }
// not built yet
void flowVisit(const char*) {}
// not built yet
void serializeFlowData(cSaveStream&) {}
