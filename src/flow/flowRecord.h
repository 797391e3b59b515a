// The flow record of the full configuration: the checklisted scenarios the player entered and the
// moves between them, on the current route and since the last full reset, and the scenario
// entered last. Scenario names are script names without their last extension; sets match names
// without regard to letter case and hold each once.
#pragma once
#include <cstdint>
#include <set>

#include "base/vstring.h"

class cSaveStream;

using cFlowSet = std::set<vstring>;

// Reads "checklist.txt" of folder "flow": every non-empty line is a scenario name. Always true.
bool loadFlowChecklist();
// A scenario was entered: when it is checklisted, it joins the nodes and the move from the last
// one joins the links, and it becomes the last node.
void flowVisit(const char* name);
// Everything forgotten but the checklist.
void flowResetAll();
// A new route: the route's nodes and links and the last node forgotten.
void flowResetRoute();
// 3 the last node, 2 entered on the route, 1 entered since the last full reset, 0 not entered.
uint8_t flowNodeState(const char* name);
// 2 moved on the route, 1 since the last full reset, 0 never.
uint8_t flowLinkState(const char* from, const char* to);
// The save section "Data_Flow", written or read by the stream's mode.
void serializeFlowData(cSaveStream& stream);

// The record as the chart and the tests read it.
struct FlowRecord {
    cFlowSet VN, AN, VL, AL;
    vstring LastNode;
    cFlowSet flowChecklist;
};
const FlowRecord& flowRecord();
