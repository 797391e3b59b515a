// The flow record of the full configuration: the checklisted scenarios the player entered and the
// moves between them, on the current route and since the last full reset, and the scenario
// entered last. Scenario names are script names without their last extension; sets match names
// without regard to letter case and hold each once.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "base/vstring.h"

class cSaveStream;

using cFlowSet = std::set<vstring>;
// The chart's captions by grid point (column, row). Keyed by the pair itself: no two points share
// a key, however far apart.
using cFlowChapters = std::map<std::pair<int64_t, int64_t>, vstring>;

// Reads "checklist.txt" of folder "flow": every non-empty line is a scenario name. Always true.
bool loadFlowChecklist();
// A scenario was entered: when it is checklisted, it joins the nodes and the move from the last
// one joins the links, and it becomes the last node.
void flowVisit(const char* name);
// Everything forgotten but the checklist.
void flowResetAll();
// A new route: the route's nodes and links and the last node forgotten.
void flowResetRoute();
// 3 the last node (the name compared by equalsIgnoringCase), 2 entered on the route, 1 entered
// since the last full reset, 0 not entered.
uint8_t flowNodeState(const char* name);
// 2 moved on the route, 1 since the last full reset, 0 never.
uint8_t flowLinkState(const char* from, const char* to);
// The save section "Data_Flow", written or read by the stream's mode.
void serializeFlowData(cSaveStream& stream);

// The caption of a grid point (null or "" stores an empty caption); a later one replaces it.
void setFlowChapter(int64_t x, int64_t y, const char* caption);
// The caption of a grid point; "" when it has none.
void getFlowChapter(int64_t x, int64_t y, vstring& caption);
void clearFlowChapters();

// The flow module's state as the chart and the tests read it, in construction order: the chart's
// caption table first, then the record.
struct FlowRecord {
    cFlowChapters flowChapters;
    cFlowSet VN, AN, VL, AL;
    vstring LastNode;
    cFlowSet flowChecklist;
};
const FlowRecord& flowRecord();
