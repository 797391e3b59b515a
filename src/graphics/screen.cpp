#include "graphics/screen.h"

#include <cstring>

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
    if (!gBackBuffer.CreateScreen()) return false;
    if (!gNextScreen.CreateScreen()) return false;
    if (!gPrevScreen.CreateScreen()) return false;
    fillScreenBitmapInfo();
    return true;
}
