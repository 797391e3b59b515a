#include "config/systemInfo.h"

void loadSystemInfo() {}
const char* getProductID() { return ""; }
const char* getTitle() { return ""; }
const char* getSplashImage() { return ""; }
