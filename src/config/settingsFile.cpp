#include "config/settings.h"

bool loadSettings() {
    setDefaultSettings();
    return false;
}

bool saveSettings() { return false; }
