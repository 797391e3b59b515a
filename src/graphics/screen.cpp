#include "graphics/screen.h"

bool createScreenCanvases() { return false; }
