#include <windows.h>

#include "base/settings.h"
#include "files/fileNames.h"
#include "files/saveFile.h"

namespace {
const char kSettingsFile[] = "morvane.cfg";
// The new settings are written here first and take the old file's place only when complete, so
// a failed or interrupted write never leaves a damaged settings file behind.
const char kSettingsTempFile[] = "morvane.cfg.new";
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
    char finalPath[kPathMax], tempPath[kPathMax];
    if (!formatPath(finalPath, "%s%s", getSaveFolder(), kSettingsFile) ||
        !formatPath(tempPath, "%s%s", getSaveFolder(), kSettingsTempFile))
        return false;
    cSaveFile file;
    if (!file.Create(kSettingsTempFile)) return false;
    const bool written = file.Write(&UserSettings, sizeof UserSettings);
    file.Close();
    if (!written || !MoveFileExA(tempPath, finalPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(tempPath);
        return false;
    }
    return true;
}
