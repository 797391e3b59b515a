// The flow chart's definition file "flowdata.txt" (folder "flow"): nodes at grid points and links
// as courses of horizontal and vertical moves, coloured by the flow record's states.
//
// Blocks of lines: "params" opens a block whose "offset X Y" sets the offsets of every later node
// and waypoint; "select", "switch", "keypoint" or any other word with X Y opens a node block whose
// "flag NAME", "chapt TEXT" and "link TARGET x.. y.." lines give the node's state, its caption and
// its links. An empty or ";" line ends a block, and only that commits a node block's node.
#pragma once
#include <cstdint>
#include <vector>

class cTextBuf;

enum FlowNodeKind : uint8_t { kFlowPlain = 0, kFlowSelect = 1, kFlowSwitch = 2, kFlowKeypoint = 3 };
enum FlowLinkAxis : uint8_t { kFlowToColumn = 0, kFlowToRow = 1 };

// Grid coordinates are 64-bit: a coordinate of the file plus an offset need not fit in 32 bits.
struct cNodeData {
    int64_t x = 0, y = 0;  // grid point, offsets applied
    uint8_t kind = kFlowPlain;
    uint8_t state = 0;  // the flow record's node state, 0 to 3
};

struct cLinkNode {
    uint8_t axis = kFlowToColumn;
    int64_t coordinate = 0;  // the column or row moved to, offset applied
};

struct cLinkData {
    int64_t x = 0, y = 0;  // the grid point of the node block the link stands in: its start
    std::vector<cLinkNode> waypoints;
    uint8_t state = 0;  // the flow record's link state, 0 to 2
};

struct FlowChartLists {
    std::vector<cNodeData> nodes;
    std::vector<cLinkData> links;
};

// Reads the definition's lines in file order: committed nodes and links into the lists (added to
// what they hold), captions into the caption table (see setFlowChapter). States come from the flow
// record as it is now. Then both lists are sorted by state, stably, so that drawing them in order
// puts higher states on top.
void readFlowDefinition(const cTextBuf& lines, FlowChartLists& lists);
