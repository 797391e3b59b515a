#include "config/settings.h"

bool loadSettings() { return false; }
