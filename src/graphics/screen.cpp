#include "graphics/screen.h"

#include <cstring>
#include <initializer_list>

#include "base/moduleOrder.h"
#include "config/systemInfo.h"

// Declared in this order so they are destroyed in the reverse one.
cCanvas gBackBuffer MODULE_OBJECT(kOrderScreenCanvases);
cCanvas gNextScreen MODULE_OBJECT(kOrderScreenCanvases);
cCanvas gPrevScreen MODULE_OBJECT(kOrderScreenCanvases);

ScreenBitmapInfo gScreenBitmapInfo;

void fillScreenBitmapInfo() {
    std::memset(&gScreenBitmapInfo, 0, sizeof gScreenBitmapInfo);
    gScreenBitmapInfo.headerSize = 40;
    gScreenBitmapInfo.width = gScreenWidth;
    gScreenBitmapInfo.height = -gScreenHeight;
    gScreenBitmapInfo.planes = 1;
    gScreenBitmapInfo.bitCount = 24;
    gScreenBitmapInfo.compression = 0;
}

bool createScreenCanvases() {
    // Black from the start: the first frame fades from gNextScreen before anything composed it.
    for (cCanvas* canvas : {&gBackBuffer, &gNextScreen, &gPrevScreen}) {
        if (!canvas->CreateScreen()) return false;
        std::memset(canvas->pixels, 0, static_cast<size_t>(canvas->ByteCount()));
    }
    fillScreenBitmapInfo();
    return true;
}
