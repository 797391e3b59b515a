// What the configuration dialog's basic and input pages show, as plain values: the settings block
// to the pages' controls and back, the input rows with their action lists, and their layout rows.
// The dialog's window code moves these values into and out of its controls.
#pragma once
#include <cstddef>
#include <cstdint>

#include "presentation/screens/actionLists.h"

struct UserSettingsBlock;

// A radio row's checked button by the value it stands for; kNoneChecked when none is.
constexpr int8_t kNoneChecked = -1;

// Sound rows of the basic page, top to bottom.
enum SoundRow : uint8_t { kRowBGM = 0, kRowVoice = 1, kRowSE = 2, kRowEnv = 3 };

struct BasicPageValues {
    int32_t unreadSpeed = 0;  // sliders
    int32_t readSpeed = 0;
    int32_t autoSpeed = 0;
    int8_t font = kNoneChecked;      // 0 mixed, 1 Mincho, 2 Gothic
    int8_t shadow = kNoneChecked;    // two-button rows: 1 or 0
    bool soundOn[4] = {};            // by SoundRow
    int32_t soundVolume[4] = {};     // by SoundRow
    int8_t femaleVoices = kNoneChecked;
    int8_t maleVoices = kNoneChecked;
    int8_t stopVoice = kNoneChecked;
    int8_t fullScreen = kNoneChecked;
    int8_t effects = kNoneChecked;
    int8_t textColours = kNoneChecked;
    int8_t hideCursor = kNoneChecked;
    bool captionChapter = false;
    bool captionPlayTime = false;
    int8_t skipAll = kNoneChecked;
    int8_t endSkip = kNoneChecked;
    int8_t bossKey = kNoneChecked;   // 0 tray, 1 Notepad, 2 quick save and exit
};

// The settings as the page shows them: each radio row checks the button of the stored value
// (none for a value no button stands for), checkboxes are checked for any value but 0.
BasicPageValues basicPageValuesFromSettings(const UserSettingsBlock& settings);
// The page back into the settings: the font and boss-key rows give 1 or 2 when those buttons are
// checked and 0 otherwise; two-button rows give 1 exactly when the button standing for 1 is
// checked; checkboxes 1 or 0. The sound fields (enables, volumes, the voice rows) are stored only
// while the sound group is enabled, so without a sound device they keep their values.
void basicPageValuesToSettings(const BasicPageValues& page, bool soundGroupEnabled,
                               UserSettingsBlock& settings);

// The input page's 25 rows: the mouse right button, middle button, wheel up and down, Space,
// F1 to F12 and pad buttons 1 to 8. Row i sets the settings byte at offset 308 + i.
constexpr int kInputRowCount = 25;
constexpr int kFirstFunctionKeyRow = 5;
constexpr int kFirstPadRow = 17;
constexpr size_t kFirstActionOffset = 308;

ActionListId inputRowList(int row);
// The number of actions in a list (up to its end byte).
int actionListLength(const uint8_t* list);
// The position of an action in a list; 0 (the first action) when it is not in it.
int actionListPosition(const uint8_t* list, uint8_t action);
// The action at a position; 0 when the position is outside the list (nothing selected).
uint8_t actionAtPosition(const uint8_t* list, int position);

// Each row's selected position from the settings, and the selections back into the settings
// (every row, enabled or not).
void inputPositionsFromSettings(const UserSettingsBlock& settings,
                                int positions[kInputRowCount]);
void inputPositionsToSettings(const int positions[kInputRowCount], UserSettingsBlock& settings);

// Layout rows of the input page: the list's y in the keyboard group for F1 to F12 (i from 0) and
// in the gamepad group for pad buttons 1 to 8.
int32_t functionKeyRowY(int i);
int32_t padRowY(int i);
// Rows enabled by the devices: F1 to Fn by the keyboard's function-key count (at most 12), pad
// rows 1 to n by the gamepad's button count (at most 8).
int enabledFunctionKeys(int64_t reported);
int enabledPadButtons(int64_t buttons);
