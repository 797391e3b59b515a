// The screen size from the configuration (declared in config/systemInfo.h). Plain data kept apart
// from the code that reads it, so that the drawing code which only computes can use it too.
#include "config/systemInfo.h"

int gScreenWidth = 640;
int gScreenHeight = 480;
