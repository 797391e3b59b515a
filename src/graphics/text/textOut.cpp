#include "graphics/text/textOut.h"

#include "base/configuration.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "base/uiText.h"
#include "config/systemInfo.h"
#include "graphics/text/leadByte.h"

namespace {
// Every pen's rectangle keeps the screen size seen when the first pen was made.
struct PenRectangle {
    bool known = false;
    int32_t right = 0;
    int32_t bottom = 0;
};
PenRectangle gPenRectangle;
const cModuleReset kReset(kOrderCharImage, [] { gPenRectangle = PenRectangle(); });
}  // namespace

cTextOut::cTextOut() {
    if (!gPenRectangle.known) {
        gPenRectangle.right = gScreenWidth;
        gPenRectangle.bottom = gScreenHeight;
        gPenRectangle.known = true;
    }
    right = gPenRectangle.right;
    bottom = gPenRectangle.bottom;
}

bool cTextOut::SetFont(int32_t newSize, int32_t extra) {
    if (newSize < 0 || extra < 0) return false;
    size = newSize;
    lineHeight = newSize + extra;
    font.flags = 0;
    FontSpec spec;
    spec.height = newSize;
    spec.weight = 400;
    spec.charSet = kConfigCharSet;
    spec.face = uiText(UiText::FaceTextPen);
    font.Create(textGlyphs(), spec);
    return true;
}

void cTextOut::NewLine() {
    x = left;
    y += lineHeight;
}

void cTextOut::Home() {
    x = left;
    y = top;
}

bool cTextOut::PutString(cImage& image, const char* text, bool wrap) {
    if (!text) return false;
    for (const char* p = text; *p;) {
        PutChar(image, p, wrap);
        if (isLeadByte(static_cast<uint8_t>(*p)) && p[1] != '\0')
            p += 2;
        else
            p += 1;
    }
    return true;
}

bool cTextOut::PutChar(cImage& image, const char* character, bool wrap) {
    if (!character) return false;
    uint8_t lead = static_cast<uint8_t>(character[0]);
    uint32_t code = lead;
    if (isLeadByte(lead)) code = lead * 256u + static_cast<uint8_t>(character[1]);
    PutCode(image, code, wrap);
    return true;
}

bool cTextOut::PutCode(cImage& image, uint32_t code, bool wrap) {
    if (code == 0) return false;
    if (code == 10) {
        NewLine();
    } else if (code == 32) {
        x += size / 2;
    } else if (code == 0x8140) {
        x += size;
    } else {
        if (wrap && static_cast<int64_t>(x) + size > right) NewLine();
        cGlyphSource& glyphs = textGlyphs();
        glyphs.Render(font.Handle(), code, 1.0);
        glyphs.Blit(image, x, y, colour[0], colour[1], colour[2]);
        x += glyphs.AdvanceX();
        y += glyphs.AdvanceY();
    }
    return true;
}
