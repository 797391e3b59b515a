// Images loaded from data files: sprites from PNG files and wipe rules centred on a screen mask.
#include <algorithm>

#include "base/caseInsensitive.h"
#include "config/systemInfo.h"
#include "graphics/blit.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/png/pngLoader.h"

bool cSprite::LoadPng(const char* name) {
    if (!name || !*name) return false;
    // The file a sprite holds is not read again, whatever the letter case of its single-byte
    // characters.
    if (equalsIgnoringCase(name, m_name.c_str())) return true;
    const vstring wanted(name);
    Release();
    // The name stays held even when the load fails, so the file is not tried again.
    m_name = wanted;
    cPngLoader loader;
    bool ok = loader.Load("img", wanted.c_str(), *this);
    m_name = wanted;
    return ok;
}

bool cMask::Load(const char* name) {
    if (!HasPixels() && !CreateScreen()) return false;
    std::fill(pixels, pixels + ByteCount(), uint8_t(0));
    cSprite picture;
    if (!picture.LoadPng(name)) return false;
    // The plain blit turns any source format into grey.
    bool ok = gGraphics.BltAnchored(*this, picture, gScreenWidth / 2, gScreenHeight / 2,
                                    kAnchorCentre);
    picture.Release();
    return ok;
}
