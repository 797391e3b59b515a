#include "base/settings.h"
#include "config/settingsFile.h"
#include "files/saveFile.h"

namespace {
const char kSettingsFile[] = "morvane.cfg";
}  // namespace

bool loadSettings() {
    setDefaultSettings();
    cSaveFile file;
    if (!file.OpenRead(kSettingsFile)) return false;
    // A file shorter than the block is not a settings block: the defaults stay.
    UserSettingsBlock block;
    const bool whole = file.file.Size() >= sizeof block && file.Read(&block, sizeof block);
    file.Close();
    if (!whole) return false;
    clampSettings(block);
    UserSettings = block;
    return true;
}

bool saveSettings() {
    // A failed or interrupted write never leaves a damaged settings file behind.
    return replaceSaveFile(kSettingsFile, [](cSaveFile& file) {
        return file.Write(&UserSettings, sizeof UserSettings);
    });
}
