// Drawing the flow chart: links as 2-pixel bars along the 16-pixel grid, nodes as 8 by 8 squares,
// coloured by kind and state.
#pragma once
#include <cstdint>

#include "flow/flowDefinition.h"
#include "graphics/graphics.h"

class cCanvas;
class cImage;

// Pixels per grid unit.
constexpr int64_t kFlowGrid = 16;

Rgb flowLinkColour(uint8_t state);
Rgb flowNodeColour(uint8_t kind, uint8_t state);
// Every bar and square is clipped to the image before it is filled.
void drawFlowLink(cImage& image, const cLinkData& link);
void drawFlowNode(cImage& image, const cNodeData& node);
// Empties the caption table, reads "flowdata.txt" of folder "flow" (none: nothing) and draws its
// links, then its nodes, onto the canvas.
void buildFlowChart(cCanvas& canvas);
