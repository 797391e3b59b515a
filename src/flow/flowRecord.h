// The flow record of the full configuration.
#pragma once

class cSaveStream;

// Reads "checklist.txt" of folder "flow".
bool loadFlowChecklist();
// The save section "Data_Flow", written or read by the stream's mode.
void serializeFlowData(cSaveStream& stream);
