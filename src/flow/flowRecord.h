// The flow record of the full configuration.
#pragma once

class cSaveStream;

// Reads "checklist.txt" of folder "flow".
bool loadFlowChecklist();
// A checklisted scenario was entered (its name without extension): the visit and the move from
// the last one are recorded.
void flowVisit(const char* name);
// The save section "Data_Flow", written or read by the stream's mode.
void serializeFlowData(cSaveStream& stream);
