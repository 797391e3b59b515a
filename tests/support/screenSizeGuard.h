// Sets the global screen size for one test and puts the previous one back.
#pragma once
#include "config/systemInfo.h"

struct ScreenSize {
    int w, h;
    ScreenSize(int width, int height) : w(gScreenWidth), h(gScreenHeight) {
        gScreenWidth = width;
        gScreenHeight = height;
    }
    ~ScreenSize() {
        gScreenWidth = w;
        gScreenHeight = h;
    }
};
