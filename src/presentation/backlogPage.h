// The page of the backlog screen: eight rows of 75 pixels, each an entry's speaker name ending at
// x 180 and its text from x 200, wrapped at the page's right edge; and the scroll bar beside it,
// whose handle shows and sets how far back the page looks.
#pragma once
#include <cstdint>

#include "base/input.h"

class cImage;
class cTextOut;

namespace mLogBox {

constexpr int32_t kPageWidth = 780;
constexpr int32_t kPageHeight = 600;
constexpr int32_t kPageRows = 8;
constexpr int32_t kRowHeight = 75;
// Scroll positions: 0 shows the newest entry in the bottom row, 49 the oldest page.
constexpr int32_t kLastScroll = 49;
constexpr int32_t kBarX = kPageWidth;

// Top of the handle for a scroll position: 520 at 0, 20 at 49.
int32_t handleY(int32_t scroll);
// The left button held on the bar: x 780 to 799, y 20 to 579.
bool onScrollBar(const MousePoint& p);
// The scroll position the handle is dragged to by a cursor at that height, 0 to 49.
int32_t dragScroll(int32_t y);
// Clamped to 0 to 49.
int32_t clampScroll(int64_t scroll);

// The pen of the page: white, 18 pixels, lines of 20, wrapping from x 780 back to x 200.
void setUpPagePen(cTextOut& pen);
// One row's name and text on the page at the row's top y (names without wrapping, ending at x 180;
// text from (200, y + 10), wrapping back to x 200, running on into the rows below). Only glyphs
// that can land on the page are rendered: a huge entry costs no more than the page holds.
void drawRow(cImage& page, cTextOut& pen, int32_t y, const char* name, uint64_t nameBytes,
             const char* text);
// Clears the page and draws the rows of the entries scroll + 8 - r steps back (r = 0 the top
// row). Bit k of the result (k = 1 to 8) is set when the entry of row button k has a voice.
uint32_t drawPage(cImage& page, cTextOut& pen, int32_t scroll);

}  // namespace mLogBox
