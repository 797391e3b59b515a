#include "presentation/spots.h"

#include <cstdint>
#include <limits>

#include "base/framePacer.h"
#include "base/input.h"
#include "base/moduleOrder.h"
#include "base/moduleState.h"
#include "graphics/graphics.h"
#include "graphics/screen.h"
#include "presentation/choiceScreens.h"

SpotTablesState gSpotTables MODULE_OBJECT(kOrderButtonTables);
mSpots_Common::cSpotTable& gScreenSpots = gSpotTables.screen;
mSpots_Common::cSpotTable& gChoiceSpots = gSpotTables.choice;
mSpots_Common::cSpotTable& gSystemSpots = gSpotTables.system;
uint8_t& gScreenSpotsActive = gSpotTables.screenActive;
uint8_t& gChoiceSpotsActive = gSpotTables.choiceActive;
uint8_t& gSystemSpotsActive = gSpotTables.systemActive;

namespace {
void resetTable(mSpots_Common::cSpotTable& table) {
    for (mSpots_Common::cSpot& spot : table.spots) spot = mSpots_Common::cSpot();
    table.count = 0;
    table.pressed = -1;
}

const cModuleReset kReset(kOrderButtonTables, [] {
    resetTable(gScreenSpots);
    resetTable(gChoiceSpots);
    resetTable(gSystemSpots);
    gScreenSpotsActive = gChoiceSpotsActive = gSystemSpotsActive = 0;
});

bool loadPng(cSprite& sprite, const char* name) { return sprite.LoadPng(name); }

void changed() { ++gSpotTables.revision; }

// Wiring installed by the program or a test, not state.
SpotCursorMover gCursorMover = nullptr;
SpotImageLoader gImageLoader = loadPng;

bool loadImage(cSprite& sprite, const char* name) { return name && gImageLoader(sprite, name); }

int64_t magnitude(int64_t v) { return v < 0 ? -v : v; }

int32_t toInt32(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// The bar is drawn only while the cursor is in the corner around it.
bool inBarArea(const MousePoint& p) { return p.x > 436 && p.x < 630 && p.y > 566 && p.y < 800; }

constexpr uint8_t kReadingBarIds[] = {kCmdHideWindow, kCmdSkipMode, kCmdAutoMode,
                                      kCmdSaveScreen, kCmdLoadScreen, kCmdConfig};
constexpr uint8_t kChoiceBarIds[] = {kCmdHideWindow, kCmdSaveScreen, kCmdLoadScreen, kCmdConfig};
}  // namespace

void setSpotCursorMover(SpotCursorMover mover) { gCursorMover = mover; }
void moveCursorInClient(int32_t x, int32_t y) {
    if (gCursorMover) gCursorMover(x, y);
}
void setSpotImageLoader(SpotImageLoader loader) { gImageLoader = loader ? loader : loadPng; }

namespace mSpots_Common {

// --- cSpot

void cSpot::Reset() {
    changed();
    image.Release();
    overlay.Release();
    frames = 0;
    disabled = 0;
    marked = 0;
}

bool cSpot::SetImage(const char* name, int32_t newX, int32_t newY, int32_t newFrames) {
    Reset();  // counts the change
    x = newX;
    y = newY;
    frames = newFrames;
    return loadImage(image, name);
}

bool cSpot::SetOverlay(const char* name, int32_t newOx, int32_t newOy) {
    changed();
    ox = newOx;
    oy = newOy;
    return loadImage(overlay, name);
}

int32_t cSpot::FrameHeight() const { return frames < 1 ? 0 : image.height / frames; }

bool cSpot::IsLive() const { return frames >= 1 && image.HasPixels() && FrameHeight() > 0; }

bool cSpot::HitTest() const {
    if (frames < 1) return false;
    const int64_t lx = static_cast<int64_t>(gMousePos.x) - x;
    const int64_t ly = static_cast<int64_t>(gMousePos.y) - y;
    if (ly >= FrameHeight()) return false;
    // Frame 0's pixels decide, whichever frame is shown.
    if (lx < 0 || ly < 0 || lx >= image.width) return false;
    return image.IsOpaqueAt(static_cast<int>(lx), static_cast<int>(ly));
}

SpotPoint cSpot::GetCentre() const {
    return {static_cast<int64_t>(x) + image.width / 2, static_cast<int64_t>(y) + FrameHeight() / 2};
}

void cSpot::Draw(int64_t hotId) const {
    if (frames < 1) return;
    const bool hot = hotId >= 0 && static_cast<int64_t>(id) == hotId;
    int32_t frame = 0;
    if (hot) frame = gMouseDown ? 2 : 1;
    if (frames >= 4 && disabled) frame = 3;
    if (frame > frames - 1) frame = frames - 1;
    const int32_t height = FrameHeight();
    gGraphics.BltRect(gBackBuffer, image, x, y, image.width, height, 0, frame * height);
    if (hot && overlay.HasPixels()) gGraphics.Blt(gBackBuffer, overlay, ox, oy);
}

// --- cSpotTable

bool cSpotTable::Add(int32_t frames, uint32_t id, const char* name, int32_t x, int32_t y) {
    if (count >= kSpotSlots) return false;
    cSpot& spot = spots[count++];
    spot.id = id;
    return spot.SetImage(name, x, y, frames);
}

bool cSpotTable::AddWithOverlay(int32_t frames, uint32_t id, const char* name, int32_t x, int32_t y,
                                const char* overlayName, int32_t ox, int32_t oy) {
    if (count >= kSpotSlots) return false;
    cSpot& spot = spots[count++];
    spot.id = id;
    const bool image = spot.SetImage(name, x, y, frames);
    const bool overlay = spot.SetOverlay(overlayName, ox, oy);
    return image && overlay;
}

namespace {
// Sets a flag of a spot, counting the change only when there is one.
void setFlag(uint8_t& flag, uint8_t value) {
    if (flag == value) return;
    flag = value;
    changed();
}
}  // namespace

void cSpotTable::DisableAll() {
    for (uint32_t i = 0; i < count; ++i) setFlag(spots[i].disabled, 1);
}

void cSpotTable::SetEnabled(uint32_t id, bool enabled) {
    for (uint32_t i = 0; i < count; ++i)
        if (spots[i].id == id) setFlag(spots[i].disabled, enabled ? 0 : 1);
}

void cSpotTable::Mark(uint32_t id) {
    for (uint32_t i = 0; i < count; ++i)
        if (spots[i].id == id) setFlag(spots[i].marked, 1);
}

void cSpotTable::Clear() {
    changed();
    for (cSpot& spot : spots) spot.Reset();
    count = 0;
    // No press survives: a release after the table was refilled fires nothing.
    pressed = -1;
}

void cSpotTable::Draw(int64_t hotId) const {
    for (uint32_t i = count; i > 0; --i) spots[i - 1].Draw(hotId);
}

int32_t cSpotTable::HitTest() const {
    for (uint32_t i = 0; i < count; ++i)
        if (!spots[i].disabled && spots[i].HitTest()) return static_cast<int32_t>(spots[i].id);
    return -1;
}

bool cSpotTable::Press() {
    pressed = HitTest();
    return pressed >= 0;
}

int32_t cSpotTable::Release() const {
    const int32_t hit = HitTest();
    return hit == pressed ? hit : -1;
}

cSprite& cSpotTable::Find(uint32_t id) {
    for (uint32_t i = 0; i < count; ++i)
        if (spots[i].id == id) return spots[i].image;
    return spots[0].image;
}

void cSpotTable::Navigate(uint8_t& command) const {
    if (command < kCmdLeft || command > kCmdDown) return;
    const int64_t none = -1;
    int64_t current = none;
    for (uint32_t i = 0; i < count; ++i) {
        if (spots[i].HitTest()) {
            current = i;
            break;
        }
    }
    SpotPoint ref = {gMousePos.x, gMousePos.y};
    bool freeSearch = current == none;
    if (!freeSearch) ref = spots[current].GetCentre();

    // Directional search: the perpendicular distance counts fully, the distance along the
    // direction half; on a tie of both scores the later slot wins.
    int64_t found = none;
    int64_t bestPrimary = std::numeric_limits<int64_t>::max();
    int64_t bestSecondary = std::numeric_limits<int64_t>::max();
    for (uint32_t i = 0; i < count; ++i) {
        const cSpot& spot = spots[i];
        if (static_cast<int64_t>(i) == current || spot.disabled || !spot.IsLive()) continue;
        if (freeSearch && spot.marked) continue;
        const SpotPoint c = spot.GetCentre();
        const int64_t dx = ref.x - c.x;
        const int64_t dy = ref.y - c.y;
        bool side = false;
        int64_t along = 0, across = 0;
        switch (command) {
            case kCmdLeft: side = c.x < ref.x; along = magnitude(dx); across = magnitude(dy); break;
            case kCmdRight: side = c.x > ref.x; along = magnitude(dx); across = magnitude(dy); break;
            case kCmdUp: side = c.y < ref.y; along = magnitude(dy); across = magnitude(dx); break;
            default: side = c.y > ref.y; along = magnitude(dy); across = magnitude(dx); break;
        }
        if (!side) continue;
        const int64_t primary = across + along / 2;
        const int64_t secondary = along + across / 2;
        if (primary < bestPrimary || (primary == bestPrimary && secondary <= bestSecondary)) {
            found = i;
            bestPrimary = primary;
            bestSecondary = secondary;
        }
    }

    // Nothing on that side: the nearest spot, the current one included.
    if (found == none) {
        freeSearch = true;
        unsigned __int128 best = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const cSpot& spot = spots[i];
            if (spot.disabled || spot.marked || !spot.IsLive()) continue;
            const SpotPoint c = spot.GetCentre();
            const int64_t dx = magnitude(ref.x - c.x);
            const int64_t dy = magnitude(ref.y - c.y);
            const unsigned __int128 d =
                static_cast<unsigned __int128>(dx) * static_cast<unsigned __int128>(dx) +
                static_cast<unsigned __int128>(dy) * static_cast<unsigned __int128>(dy);
            if (found == none || d <= best) {
                found = i;
                best = d;
            }
        }
    }
    if (found == none) return;

    const cSpot& target = spots[found];
    if (!freeSearch && target.marked) {
        if (command == kCmdUp) command = kCmdPageUp;
        else if (command == kCmdDown) command = kCmdPageDown;
        return;
    }
    const SpotPoint c = target.GetCentre();
    moveCursorInClient(toInt32(c.x), toInt32(c.y));
}
}  // namespace mSpots_Common

namespace mSpots {

void SetButtonMode(int mode) {
    gSystemSpots.DisableAll();
    gScreenSpotsActive = gChoiceSpotsActive = gSystemSpotsActive = 0;
    switch (mode) {
        case kButtonsReading:
            gSystemSpotsActive = 1;
            for (uint8_t id : kReadingBarIds) gSystemSpots.SetEnabled(id, true);
            break;
        case kButtonsChoice:
            gChoiceSpotsActive = 1;
            gSystemSpotsActive = 1;
            for (uint8_t id : kChoiceBarIds) gSystemSpots.SetEnabled(id, true);
            break;
        case kButtonsScreen: gScreenSpotsActive = 1; break;
        case kButtonsChoiceOnly: gChoiceSpotsActive = 1; break;
        default: break;
    }
}

namespace {
struct HotSpots {
    int64_t screen, choice, system;
};

HotSpots hotSpots() {
    const int32_t screenHit = gScreenSpotsActive ? gScreenSpots.HitTest() : 0;
    const int32_t choiceHit = gChoiceSpotsActive ? gChoiceSpots.HitTest() : 0;
    const int32_t systemHit = gSystemSpotsActive ? gSystemSpots.HitTest() : 0;
    // The bar lies over the options, the options over the screen's buttons: what is under the
    // cursor above hides the hot state below.
    return {choiceHit >= 1 ? -1 : screenHit, systemHit >= 1 ? -1 : choiceHit, systemHit};
}

bool barShown() {
    return gSystemSpotsActive && !isSkipping() && !isAutoMode() && inBarArea(gMousePos);
}
}  // namespace

void UpdateButtons() {
    const HotSpots hot = hotSpots();
    if (gScreenSpotsActive) gScreenSpots.Draw(hot.screen);
    if (gChoiceSpotsActive) {
        gChoiceSpots.Draw(hot.choice);
        if (gChoiceCount != 0) gGraphics.Blt(gBackBuffer, gChoiceCanvas, kChoiceCanvasX, kChoiceCanvasY);
    }
    if (barShown()) gSystemSpots.Draw(hot.system);
}

void PaceButtons(cFramePacer& pacer) {
    const HotSpots hot = hotSpots();
    const bool bar = barShown();
    // A table not drawn has no hot spot.
    const int64_t screen = gScreenSpotsActive ? hot.screen : -1;
    const int64_t choice = gChoiceSpotsActive ? hot.choice : -1;
    const int64_t system = bar ? hot.system : -1;
    const bool anyHot = screen >= 0 || choice >= 0 || system >= 0;
    pacer.Key(gSpotTables.revision);
    pacer.Key(uint64_t(gScreenSpotsActive) | uint64_t(gChoiceSpotsActive) << 8 |
              uint64_t(gSystemSpotsActive) << 16 | uint64_t(bar) << 24 |
              uint64_t(anyHot && gMouseDown) << 32);
    pacer.Key(static_cast<uint64_t>(screen));
    pacer.Key(static_cast<uint64_t>(choice));
    pacer.Key(static_cast<uint64_t>(system));
    if (gChoiceSpotsActive) {
        pacer.Key(gChoiceCount);
        pacer.Key(reinterpret_cast<uintptr_t>(gChoiceCanvas.pixels));
    }
    if (anyHot || bar) pacer.PollEveryFrame();
}

bool PressButtons() {
    mSpots_Common::cSpotTable* const order[] = {&gSystemSpots, &gChoiceSpots, &gScreenSpots};
    const uint8_t active[] = {gSystemSpotsActive, gChoiceSpotsActive, gScreenSpotsActive};
    const bool normal = isReadModeNormal();
    bool taken = false;
    // Only the table that takes a press keeps one: a release can then fire in no other.
    for (int i = 0; i < 3; ++i) {
        if (normal && !taken && active[i] && order[i]->Press()) taken = true;
        else order[i]->pressed = -1;
    }
    return taken;
}

bool ReleaseButtons(uint8_t& command, int32_t& selectedIndex) {
    int32_t id = gSystemSpots.Release();
    if (gSystemSpotsActive && id >= 0) {
        command = static_cast<uint8_t>(id);
        return true;
    }
    id = gChoiceSpots.Release();
    if (!gChoiceSpotsActive || id < 0) {
        id = gScreenSpots.Release();
        if (!gScreenSpotsActive || id < 0) return false;
    }
    selectedIndex = id;
    command = kCmdOk;
    return true;
}

void NavigateButtons(uint8_t& command) {
    if (gChoiceSpotsActive) gChoiceSpots.Navigate(command);
    if (gScreenSpotsActive) gScreenSpots.Navigate(command);
}

void CancelPresses() {
    gScreenSpots.pressed = -1;
    gChoiceSpots.pressed = -1;
    gSystemSpots.pressed = -1;
}
}  // namespace mSpots
