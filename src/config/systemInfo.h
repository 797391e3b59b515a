// System information read from the configuration: identity, screen size, splash image.
#pragma once

void loadSystemInfo();
// The named system strings ("" when unset).
const char* getProductID();
const char* getTitle();
const char* getSplashImage();

extern int gScreenWidth;
extern int gScreenHeight;
