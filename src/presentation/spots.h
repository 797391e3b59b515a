// Button tables: every clickable picture of the game screens is a spot, an image strip with a
// numeric id, in a table of 50. Three tables exist: the full screens' (save/load, backlog), the
// choice screen's and the system-button bar's. A button mode chooses which of them take the mouse
// and are drawn.
//
// A strip holds its frames stacked top to bottom, all of one height: 0 normal, 1 hot, 2 held,
// 3 disabled. Hits are pixel-exact on frame 0's alpha. Arrow commands move the mouse cursor from
// spot to spot. Positions are 32-bit; everything derived from them (centres, offsets, scores,
// distances) is computed in 64 bits or more, so no position overflows.
#pragma once
#include <cstdint>

#include "graphics/image.h"

class cFramePacer;

namespace mSpots_Common {
constexpr uint32_t kSpotSlots = 50;

struct SpotPoint {
    int64_t x;
    int64_t y;
};

// One button.
class cSpot {
public:
    // Releases image and overlay; frames, disabled and marked back to 0. The id and the positions
    // stay.
    void Reset();
    // Reset, then the position and frame count, then the strip "img\name"; true when it loaded.
    bool SetImage(const char* name, int32_t x, int32_t y, int32_t frames);
    // The picture drawn while the spot is hot, at (ox, oy) on the screen; true when it loaded.
    bool SetOverlay(const char* name, int32_t ox, int32_t oy);
    // The cursor (gMousePos) is on an opaque pixel of frame 0.
    bool HitTest() const;
    // x + image width / 2, y + frame height / 2 (halves toward zero).
    SpotPoint GetCentre() const;
    // Image height / frames; 0 for fewer than 1 frame.
    int32_t FrameHeight() const;
    // The spot can be drawn and hit at all: at least one frame, pixels, a frame height above 0.
    bool IsLive() const;
    // Draws the frame of its state onto gBackBuffer; hot when the id equals hotId (-1: none).
    void Draw(int64_t hotId) const;

    uint8_t disabled = 0;
    uint32_t id = 0;
    uint8_t marked = 0;  // navigation marker: the cursor stays, up and down become page commands
    cSprite image;
    cSprite overlay;
    int32_t x = 0, y = 0;
    int32_t ox = 0, oy = 0;
    int32_t frames = 0;
};

class cSpotTable {
public:
    // False when all slots are in use (nothing changes). Otherwise a slot is taken (also when the
    // image does not load, which the result tells).
    bool Add(int32_t frames, uint32_t id, const char* name, int32_t x, int32_t y);
    // As Add, then the overlay; true only when both loaded.
    bool AddWithOverlay(int32_t frames, uint32_t id, const char* name, int32_t x, int32_t y,
                        const char* overlayName, int32_t ox, int32_t oy);
    void DisableAll();
    // Every spot of that id.
    void SetEnabled(uint32_t id, bool enabled);
    void Mark(uint32_t id);
    // Every slot reset; no slot in use, no press.
    void Clear();
    // The spots in use from the last to the first, so the first lies on top.
    void Draw(int64_t hotId) const;
    // Id of the first enabled spot under the cursor, in slot order; -1 when none.
    int32_t HitTest() const;
    // pressed := HitTest; true when a spot was under the cursor.
    bool Press();
    // HitTest when it equals the press's id, else -1.
    int32_t Release() const;
    // The image of the first spot with that id (of slot 0 when none has it).
    cSprite& Find(uint32_t id);
    // Arrow commands 5 to 8 move the cursor to the best spot on that side; up and down onto a
    // marked spot become page up and down (9, 10) instead. Other commands pass unchanged.
    void Navigate(uint8_t& command) const;

    cSpot spots[kSpotSlots];
    uint32_t count = 0;
    int32_t pressed = -1;  // id under the cursor at the last press this table took; -1 none
};
}  // namespace mSpots_Common

// The three tables and which of them are active.
struct SpotTablesState {
    mSpots_Common::cSpotTable screen;
    mSpots_Common::cSpotTable choice;
    mSpots_Common::cSpotTable system;
    uint8_t screenActive = 0;
    uint8_t choiceActive = 0;
    uint8_t systemActive = 0;
    // Counts the changes of any table's spots (added, cleared, enabled or disabled, images set),
    // so that a waiting loop knows when the buttons it shows are unchanged.
    uint32_t revision = 0;
};
extern SpotTablesState gSpotTables;
extern mSpots_Common::cSpotTable& gScreenSpots;
extern mSpots_Common::cSpotTable& gChoiceSpots;
extern mSpots_Common::cSpotTable& gSystemSpots;
extern uint8_t& gScreenSpotsActive;
extern uint8_t& gChoiceSpotsActive;
extern uint8_t& gSystemSpotsActive;

// Button modes.
enum ButtonModeValue : int {
    kButtonsNone = 0,       // nothing takes the mouse
    kButtonsReading = 1,    // the system-button bar
    kButtonsChoice = 2,     // the choice table and the bar
    kButtonsScreen = 3,     // the screen table
    kButtonsChoiceOnly = 4, // the choice table (display mode system)
};

namespace mSpots {
// Disables the bar's spots, sets the activity flags of the mode and enables the bar's ids of
// modes 1 and 2. Any other value acts as 0.
void SetButtonMode(int mode);
// Per frame: hit tests, hot spots and drawing of the active tables (and the choice texts) onto
// gBackBuffer.
void UpdateButtons();
// The buttons' part of a waiting loop's frame (see base/framePacer.h): what UpdateButtons would
// draw (active tables, hot and held spots, the bar, the choice texts). While a spot is hot or the
// bar shows, the cursor is looked at again every frame, since leaving the window quickly sends
// nothing.
void PaceButtons(cFramePacer& pacer);
// The left button went down: true when a spot took the press (only in normal read mode).
bool PressButtons();
// The left button went up: latches the released spot's command (the bar) or OK with its id as the
// index; true when it latched.
bool ReleaseButtons(uint8_t& command, int32_t& selectedIndex);
// Navigate on the choice table, then on the screen table, each when active.
void NavigateButtons(uint8_t& command);
// Forgets every table's press, so that the release that follows fires nothing.
void CancelPresses();
}  // namespace mSpots

// The cursor move is the platform's: the program installs it at start-up, tests their own.
// Moves the mouse cursor to a point of the main window's client area; null: it does not move.
using SpotCursorMover = void (*)(int32_t x, int32_t y);
void setSpotCursorMover(SpotCursorMover mover);
// Puts the mouse cursor on a point of the client area through the installed mover; the next
// pollInput reads it back.
void moveCursorInClient(int32_t x, int32_t y);
// Test seam: replaces the loading of the spots' PNGs from folder "img" (null restores it).
using SpotImageLoader = bool (*)(cSprite& sprite, const char* name);
void setSpotImageLoader(SpotImageLoader loader);

// The program's side: the left-button handlers of the input layer and the cursor move.
void installButtonPlatform();
