// The settings block: an input is the deciphered contents of a settings file. It is stored
// enciphered as the save folder's settings file and loaded from there: a file shorter than the
// block leaves the defaults; a whole block is brought into range, keeping every byte without a
// range (reserved and padding) as it was.
#include <cstring>
#include <vector>

#include "base/settings.h"
#include "config/settingsFile.h"
#include "files/keystream.h"
#include "fuzzFiles.h"

namespace {
void checkRanges(const UserSettingsBlock& s) {
    FUZZ_CHECK(s.unreadTextSpeed <= 4 && s.readTextSpeed <= 4 && s.autoSpeed <= 10);
    FUZZ_CHECK(s.font <= 2 && s.textShadow <= 1 && s.bossKeyMode <= kBossKeyQuickSaveExit);
    for (int c = 0; c < 4; ++c) FUZZ_CHECK(s.soundEnabled[c] <= 1 && s.soundVolume[c] <= 100);
    const uint8_t truths[] = {s.maleVoices,     s.femaleVoices,   s.stopVoiceOnPage,
                              s.fullScreen,     s.screenEffects,  s.speakerColours,
                              s.hideIdleCursor, s.captionChapter, s.captionPlayTime,
                              s.skipAll,        s.endSkipAfterChoice};
    for (uint8_t t : truths) FUZZ_CHECK(t <= 1);
    const uint8_t actions[] = {s.rightButtonAction, s.middleButtonAction, s.wheelUpAction,
                               s.wheelDownAction, s.spaceAction};
    for (uint8_t a : actions) FUZZ_CHECK(a <= kSettingsMaxAction);
    for (uint8_t a : s.functionKeyActions) FUZZ_CHECK(a <= kSettingsMaxAction);
    for (uint8_t a : s.joystickActions) FUZZ_CHECK(a <= kSettingsMaxAction);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setDefaultSettings();
    checkRanges(UserSettings);
    const UserSettingsBlock defaults = UserSettings;

    FuzzFolder& folder = FuzzFolder::get();
    std::vector<uint8_t> stored(data, data + size);
    KeystreamState stream;
    cipherSeed(stream, kSaveSeed);
    decipherBytes(stored.data(), stored.size(), stream);
    FuzzFolder::write(folder.save() + "morvane.cfg", stored.data(), stored.size());
    std::memset(&UserSettings, 0xEE, sizeof UserSettings);
    const bool loaded = loadSettings();
    FUZZ_CHECK(loaded == (size >= sizeof(UserSettingsBlock)));
    if (!loaded) {
        FUZZ_CHECK(std::memcmp(&UserSettings, &defaults, sizeof defaults) == 0);
        return 0;
    }
    const UserSettingsBlock fromFile = UserSettings;

    UserSettingsBlock block;
    std::memcpy(&block, data, sizeof block);
    clampSettings(block);
    checkRanges(block);
    FUZZ_CHECK(std::memcmp(block.reserved, data + offsetof(UserSettingsBlock, reserved),
                           sizeof block.reserved) == 0);
    FUZZ_CHECK(std::memcmp(block.padding18, data + offsetof(UserSettingsBlock, padding18),
                           sizeof block.padding18) == 0);
    FUZZ_CHECK(std::memcmp(block.padding333, data + offsetof(UserSettingsBlock, padding333),
                           sizeof block.padding333) == 0);
    // A block in range is kept as it is.
    UserSettingsBlock again = block;
    clampSettings(again);
    FUZZ_CHECK(std::memcmp(&again, &block, sizeof block) == 0);
    FUZZ_CHECK(std::memcmp(&fromFile, &block, sizeof block) == 0);
    return 0;
}
