#include "flow/flowDrawing.h"

#include <algorithm>

#include "files/textBuf.h"
#include "flow/flowRecord.h"
#include "graphics/image.h"

namespace {
// The rectangle clipped to the image in 64 bits, so that coordinates far off the image neither
// overflow nor wrap onto it.
void fillClipped(cImage& image, Rgb rgb, int64_t left, int64_t top, int64_t width, int64_t height) {
    const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(left + width, image.width);
    const int64_t y1 = std::min<int64_t>(top + height, image.height);
    if (x1 <= x0 || y1 <= y0) return;
    gGraphics.FillRect(image, rgb, static_cast<int>(x0), static_cast<int>(y0),
                       static_cast<int>(x1 - x0), static_cast<int>(y1 - y0));
}

int64_t distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }
}  // namespace

Rgb flowLinkColour(uint8_t state) {
    switch (state) {
        case 2:
            return {255, 180, 0};
        case 1:
            return {100, 100, 200};
        default:
            return {50, 50, 100};
    }
}

Rgb flowNodeColour(uint8_t kind, uint8_t state) {
    if (state == 3) return {255, 255, 255};
    if (kind == kFlowSwitch) return {255, 255, 130};
    if (state == 1) return kind == kFlowSelect ? Rgb{130, 255, 255} : Rgb{100, 100, 200};
    if (state == 2) return {255, 255, 130};
    if (kind == kFlowKeypoint) return {255, 180, 255};
    return {50, 50, 100};
}

void drawFlowLink(cImage& image, const cLinkData& link) {
    const Rgb rgb = flowLinkColour(link.state);
    int64_t penX = kFlowGrid * link.x, penY = kFlowGrid * link.y;
    for (const cLinkNode& w : link.waypoints) {
        const int64_t c = kFlowGrid * w.coordinate;
        if (w.axis == kFlowToColumn) {
            fillClipped(image, rgb, std::min(c, penX) - 1, penY - 1, distance(c, penX) + 2, 2);
            penX = c;
        } else {
            fillClipped(image, rgb, penX - 1, std::min(c, penY) - 1, 2, distance(c, penY) + 2);
            penY = c;
        }
    }
}

void drawFlowNode(cImage& image, const cNodeData& node) {
    fillClipped(image, flowNodeColour(node.kind, node.state), kFlowGrid * node.x - 4,
                kFlowGrid * node.y - 4, 8, 8);
}

void buildFlowChart(cCanvas& canvas) {
    cTextBuf lines;
    lines.Load("flow", "flowdata.txt");
    clearFlowChapters();
    FlowChartLists lists;
    readFlowDefinition(lines, lists);
    for (const cLinkData& link : lists.links) drawFlowLink(canvas, link);
    for (const cNodeData& node : lists.nodes) drawFlowNode(canvas, node);
}
