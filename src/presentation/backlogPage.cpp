#include "presentation/backlogPage.h"

#include <algorithm>
#include <cstring>

#include "graphics/image.h"
#include "graphics/text/leadByte.h"
#include "graphics/text/textOut.h"
#include "presentation/backlog.h"

namespace mLogBox {
namespace {
constexpr int32_t kFontSize = 18;
constexpr int32_t kLineHeight = 20;
constexpr int32_t kNameRight = 180;
constexpr int32_t kNameByteWidth = 9;  // half the font size: a name ends at 180 by its byte count
constexpr int32_t kTextLeft = 200;
constexpr int32_t kTextDown = 10;
constexpr int32_t kHandleBottom = 520;
constexpr int32_t kHandleTravel = 500;
constexpr int32_t kBarTop = 20;
constexpr int32_t kBarBottom = 579;
constexpr int32_t kBarRight = 799;
constexpr int64_t kDragBase = 550;

bool leadByte(char c) { return isLeadByte(static_cast<uint8_t>(c)); }

// Whether offset i starts a character as the pen walks the text from its start: the byte after
// one that is no lead byte starts a character, and the lead bytes from there on pair up.
bool characterStartsAt(const char* text, uint64_t i) {
    uint64_t k = i;
    while (k > 0 && leadByte(text[k - 1])) --k;
    return (i - k) % 2 == 0;
}

// The first line break at or after offset from (a "\n" byte that is a character of its own, not
// the second byte of one); bytes when there is none.
uint64_t nextLineBreak(const char* text, uint64_t from, uint64_t bytes) {
    while (from < bytes) {
        const void* hit = std::memchr(text + from, '\n', static_cast<size_t>(bytes - from));
        if (!hit) return bytes;
        const uint64_t at = static_cast<uint64_t>(static_cast<const char*>(hit) - text);
        if (characterStartsAt(text, at)) return at;
        from = at + 1;
    }
    return bytes;
}

uint32_t codeAt(const char* p, uint32_t& bytes) {
    const uint8_t lead = static_cast<uint8_t>(p[0]);
    if (isLeadByte(lead) && p[1] != '\0') {
        bytes = 2;
        return lead * 256u + static_cast<uint8_t>(p[1]);
    }
    bytes = 1;
    return lead;
}

// Names are not wrapped, so only their last bytes can reach the page, and only glyphs left of its
// right edge and above its bottom land on it (a line break in a name from a damaged save goes on
// at x 200 below).
void drawName(cImage& page, cTextOut& pen, int32_t y, const char* name, uint64_t bytes) {
    // A glyph of the font is at most its size wide: a character placed that far or farther left of
    // the page cannot reach it. The pen starts at the place that the byte count gives the first
    // character that can.
    constexpr uint64_t kTailBytes = (kNameRight + kFontSize - 1) / kNameByteWidth;
    uint64_t at = 0;
    if (bytes > kTailBytes) {
        at = bytes - kTailBytes;
        // The second byte of a character placed off the page: the next one begins after it.
        if (!characterStartsAt(name, at)) ++at;
        at = std::min(at, nextLineBreak(name, 0, bytes));
    }
    const int64_t place = kNameRight - int64_t(kNameByteWidth) * int64_t(bytes - at);
    pen.x = static_cast<int32_t>(std::max<int64_t>(place, -kFontSize));
    pen.y = y;
    while (at < bytes && pen.y < kPageHeight) {
        uint32_t step = 1;
        const uint32_t code = codeAt(name + at, step);
        if (code != 10 && pen.x >= kPageWidth) {
            // The rest of the line lies right of the page.
            at = nextLineBreak(name, at, bytes);
            continue;
        }
        pen.PutChar(page, name + at, false);
        at += step;
    }
}

void drawText(cImage& page, cTextOut& pen, int32_t y, const char* text) {
    pen.x = kTextLeft;
    pen.y = y;
    uint32_t step = 1;
    for (const char* p = text; *p; p += step) {
        const uint32_t code = codeAt(p, step);
        const bool blank = code == 32 || code == 0x8140;
        if (blank) {
            // Blanks past the right edge move nothing that shows: the next glyph wraps anyway.
            if (pen.x > pen.right) continue;
        } else if (code != 10 && static_cast<int64_t>(pen.x) + pen.size > pen.right) {
            pen.NewLine();  // the wrap the pen would make before this glyph
        }
        // Lines only go down: from below the page's bottom nothing lands on it.
        if (pen.y >= kPageHeight) break;
        pen.PutChar(page, p, true);
    }
}
}  // namespace

int32_t handleY(int32_t scroll) { return kHandleBottom - scroll * kHandleTravel / kLastScroll; }

bool onScrollBar(const MousePoint& p) {
    return p.x >= kBarX && p.x <= kBarRight && p.y >= kBarTop && p.y <= kBarBottom;
}

int32_t dragScroll(int32_t y) {
    // Toward zero, then clamped: y 20 to 60 give 49, y 541 and below 0.
    return clampScroll((kDragBase - y) * (kLastScroll + 1) / kHandleTravel);
}

int32_t clampScroll(int64_t scroll) {
    if (scroll < 0) return 0;
    if (scroll > kLastScroll) return kLastScroll;
    return static_cast<int32_t>(scroll);
}

void setUpPagePen(cTextOut& pen) {
    pen.SetFont(kFontSize, kLineHeight - kFontSize);
    pen.colour[0] = pen.colour[1] = pen.colour[2] = 255;
    pen.left = kTextLeft;
    pen.right = kPageWidth;
}

void drawRow(cImage& page, cTextOut& pen, int32_t y, const char* name, uint64_t nameBytes,
             const char* text) {
    drawName(page, pen, y + kTextDown, name, nameBytes);
    drawText(page, pen, y + kTextDown, text);
}

uint32_t drawPage(cImage& page, cTextOut& pen, int32_t scroll) {
    if (page.HasPixels()) std::memset(page.pixels, 0, static_cast<size_t>(page.ByteCount()));
    uint32_t voiced = 0;
    for (int32_t r = 0; r < kPageRows; ++r) {
        const int32_t button = kPageRows - r;
        const cLogNode* node = entryBehind(scroll + button);
        if (!node) continue;
        drawRow(page, pen, kRowHeight * r, node->name.c_str(), node->name.size(),
                node->text.c_str());
        if (!node->voice.empty()) voiced |= 1u << button;
    }
    return voiced;
}

}  // namespace mLogBox
