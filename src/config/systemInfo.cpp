#include "config/systemInfo.h"

int gScreenWidth = 640;
int gScreenHeight = 480;

void loadSystemInfo() {}
const char* getProductID() { return ""; }
const char* getTitle() { return ""; }
const char* getSplashImage() { return ""; }
